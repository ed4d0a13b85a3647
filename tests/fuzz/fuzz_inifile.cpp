// INI files are edited by hand and by other programs: whatever one holds, reading it
// neither crashes nor hangs, and writing one value keeps every other value as read.
#include "fuzzinput.h"

#include "platform/core/exceptions.h"
#include "platform/core/tinifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <map>

using namespace orvo;

namespace {

const QString FuzzSection = QStringLiteral("Fuzz Section");
const QString FuzzName = QStringLiteral("FuzzName");

QString ScratchFile()
{
    static const QString path =
        QDir::temp().filePath(QStringLiteral("orvo-fuzz-%1.ini").arg(QCoreApplication::applicationPid()));
    return path;
}

/// Every section's values as the file reads, by section name.
std::map<QString, QStringList> ValuesOf(const TIniFile& ini)
{
    std::map<QString, QStringList> values;
    for (const QString& section : ini.ReadSections()) {
        if (section.compare(FuzzSection, Qt::CaseInsensitive) != 0)
            values.emplace(section.toLower(), ini.ReadSectionValues(section));
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        QFile file(ScratchFile());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fuzz::Broken("the scratch file opens", ScratchFile());
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const QString text = fuzz::Utf8Text(data, size);
    // The value written is the input's first line, whatever characters it holds.
    const QString value = text.section(QLatin1Char('\n'), 0, 0);
    fuzz::Require(TIniFile::DecodeValue(TIniFile::EncodeValue(value)) == value, "a value decodes as encoded",
                  value);
    try {
        TIniFile ini(ScratchFile());
        const auto before = ValuesOf(ini);
        ini.WriteString(FuzzSection, FuzzName, value);
        const TIniFile again(ScratchFile());
        fuzz::Require(again.ReadString(FuzzSection, FuzzName, QString()) == value,
                      "a written value reads back", value);
        fuzz::Require(ValuesOf(again) == before, "writing one value keeps the others", text);
    } catch (const Exception&) {
        // A file that cannot be read or written is reported: that is allowed.
    }
    QFile::remove(ScratchFile());
    return 0;
}
