// Any bytes as a group names file NAMEN.DAT, read on its own: exactly 240
// bytes become the 24 names, anything else blanks them. Every name survives
// the way through the editor's text and back unchanged.

#include "data/namesfile.h"
#include "data/textfield.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = scratchDir() + QStringLiteral("/NAMEN.DAT");
    writeScratchFile(path, reinterpret_cast<const char *>(data), size);

    InstallationData d;
    d.GroupNames[0].fill('x');  // must be blanked when the file is refused
    const bool read = readNamesFile(d, path);
    FUZZ_CHECK(read == (size == kGroupCount * kGroupNameLength));

    for (int g = 0; g < kGroupCount; ++g) {
        const GroupName &name = d.GroupNames[g];
        const QByteArray stored(name.data(), kGroupNameLength);
        if (read)
            FUZZ_CHECK(stored == QByteArray(reinterpret_cast<const char *>(data) + g * kGroupNameLength, kGroupNameLength));
        else
            FUZZ_CHECK(stored == QByteArray(kGroupNameLength, ' '));

        const QString text = GroupNameText(d, g);
        FUZZ_CHECK(text.size() <= kGroupNameLength);
        GroupName again;
        TextToField10(text, again);
        FUZZ_CHECK(again == name);
    }
    return 0;
}
