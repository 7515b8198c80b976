#include "data/installationtype.h"

ControllerFamily ControllerFamilyOf(int32_t installationType)
{
    return installationType <= 0 ? ControllerFamily::Kvx : ControllerFamily::Other;
}

int ShownGroupsOf(ControllerFamily family)
{
    return family == ControllerFamily::Kvx ? kGroupCount : 12;
}

std::optional<uint32_t> GroupCountOfType(uint32_t installationType)
{
    switch (installationType) {
    case TypeKvx: return 24;
    case TypeQswRadio: return 4;
    case TypeQswCable: return 12;
    default: return std::nullopt;
    }
}

int GroupNamesShown(const InstallationData &data)
{
    if (const auto count = GroupCountOfType(data.Konf.InstallationType))
        return int(*count);
    const uint32_t count = data.Header.GroupCount;
    return count >= 1 && count <= uint32_t(kGroupCount) ? int(count) : kGroupCount;
}
