#include "description.h"

#include "data/datalayout.h"
#include "data/defaults.h"
#include "data/textfield.h"

#include <QRegularExpression>
#include <QStringList>
#include <limits>

namespace {

// A text the code page holds completely, at most `width` bytes long.
bool fitsField(const QString &text, int width)
{
    const QByteArray bytes = toCp1252(text);
    return bytes.size() <= width && bytes.count('?') == text.count(QLatin1Char('?'));
}

// Sets the field called `key` from `value` while a walker visits the fields.
class FieldSetter {
public:
    FieldSetter(const QString &key, const QString &value)
        : key_(key), value_(value), numbers_(value.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    {
    }

    template <class T> void field(const char *name, T &v)
    {
        if (key_ != QLatin1String(name))
            return;
        found_ = true;
        if (numbers_.isEmpty()) {
            error_ = QStringLiteral("value missing for %1").arg(key_);
            return;
        }
        qsizetype next = 0;
        assign(v, next);
        if (error_.isEmpty() && next < numbers_.size())
            error_ = QStringLiteral("too many values for %1").arg(key_);
    }

    void text(const char *name, TextField32 &t)
    {
        if (key_ != QLatin1String(name))
            return;
        found_ = true;
        if (!fitsField(value_, kTextFieldLength))
            error_ = QStringLiteral("%1 does not fit in 32 Windows-1252 characters").arg(key_);
        else
            textToField(value_, t);
    }

    // Empty when the key was found and its value taken.
    QString problem() const
    {
        return found_ ? error_ : QStringLiteral("unknown key %1").arg(key_);
    }

private:
    template <class T> void assign(T &v, qsizetype &next)
    {
        if (next >= numbers_.size() || !error_.isEmpty())
            return;
        const QString &word = numbers_[next++];
        bool ok = false;
        const qlonglong n = word.toLongLong(&ok);
        if (!ok || n < qlonglong(std::numeric_limits<T>::min())
            || n > qlonglong(std::numeric_limits<T>::max()))
            error_ = QStringLiteral("bad value %1 for %2").arg(word, key_);
        else
            v = T(n);
    }

    template <class T, std::size_t N> void assign(std::array<T, N> &a, qsizetype &next)
    {
        for (T &e : a)
            assign(e, next);
    }

    QString key_;
    QString value_;
    QStringList numbers_;
    bool found_ = false;
    QString error_;
};

// Where the key-value lines of the current section go.
struct Section {
    enum Kind { None, Header, Konf, GroupNames, Program, Steps } kind = None;
    int index = 0;                   // program index, or step record
    SwitchStepTable *steps = nullptr;
};

QString parseSection(const QString &line, InstallationData &d, Section &section)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\[(\w+)(?:\s+(\d+)(?:\.(\d+))?)?\]$)"));
    const QRegularExpressionMatch m = pattern.match(line);
    if (!m.hasMatch())
        return QStringLiteral("bad section line");
    const QString name = m.captured(1);
    const bool hasProgram = m.hasCaptured(2), hasStep = m.hasCaptured(3);
    const int program = m.captured(2).toInt(), step = m.captured(3).toInt();

    const std::pair<const char *, Section::Kind> plain[] = {
        {"Header", Section::Header}, {"Konf", Section::Konf}, {"GroupNames", Section::GroupNames}};
    for (const auto &[text, kind] : plain) {
        if (name == QLatin1String(text) && !hasProgram) {
            section = Section{kind, 0, nullptr};
            return QString();
        }
    }
    if (hasProgram && (program < 1 || program > kProgramCount))
        return QStringLiteral("program number must be 1 to 6");
    if (name == QLatin1String("Program") && hasProgram && !hasStep) {
        section = Section{Section::Program, program - 1, nullptr};
        return QString();
    }
    const std::pair<const char *, SwitchStepTable *> tables[] = {
        {"SwitchOn", &d.SwitchOnSteps},
        {"SwitchOffTargeted", &d.SwitchOffTargetedSteps},
        {"SwitchOffFault", &d.SwitchOffFaultSteps}};
    for (const auto &[text, table] : tables) {
        if (name == QLatin1String(text) && hasStep) {
            if (step < 1 || step > kStepsPerProgram)
                return QStringLiteral("step number must be 1 to 3");
            section = Section{Section::Steps, kStepsPerProgram * (program - 1) + step - 1, table};
            return QString();
        }
    }
    return QStringLiteral("unknown section %1").arg(line);
}

QString parseGroupName(const QString &key, const QString &value, InstallationData &d)
{
    bool ok = false;
    const int group = key.toInt(&ok);
    if (!ok || group < 1 || group > kGroupCount)
        return QStringLiteral("group number must be 1 to 24");
    if (!fitsField(value, kGroupNameLength))
        return QStringLiteral("name does not fit in 10 Windows-1252 characters");
    TextToField10(value, d.GroupNames[group - 1]);
    return QString();
}

QString parseEntry(const QString &line, InstallationData &d, const Section &section)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return QStringLiteral("expected key = value");
    const QString key = line.left(equals).trimmed();
    QString value = line.mid(equals + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);

    FieldSetter setter(key, value);
    switch (section.kind) {
    case Section::None:
        return QStringLiteral("entry before the first section");
    case Section::GroupNames:
        return parseGroupName(key, value, d);
    case Section::Header:
        walkHeader(setter, d.Header);
        break;
    case Section::Konf:
        walkKonf(setter, d.Konf);
        break;
    case Section::Program:
        walkProgram(setter, d.Programs[section.index]);
        break;
    case Section::Steps:
        walkSwitchStep(setter, (*section.steps)[section.index]);
        break;
    }
    return setter.problem();
}

}  // namespace

bool readDescription(const QString &text, InstallationData &d, QString &error)
{
    d = InstallationData{};
    resetToDefaults(d, ResetRules{false, TypeKvx}, true);

    Section section;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        const QString problem = line.startsWith(QLatin1Char('['))
            ? parseSection(line, d, section)
            : parseEntry(line, d, section);
        if (!problem.isEmpty()) {
            error = QStringLiteral("line %1: %2").arg(i + 1).arg(problem);
            return false;
        }
    }
    return true;
}
