#include "builder/InfModels.h"

#include "core/Text.h"

#include <set>
#include <tuple>

namespace tollen::builder {
namespace {

/// What the record of one models section read costs besides its text: a set node and three
/// strings, rounded up.
constexpr std::size_t kModelsSectionRecordBytes = 160;

/// Reads the model lines of one file, every text it builds from the file taken from one room.
class ModelLinesReader
{
public:
    ModelLinesReader(const InfFile &inf, const database::IndexFields &fileFields, std::size_t room,
                     const InfLineReceiver &receive)
        : m_inf(inf), m_fields(fileFields), m_room(room), m_receive(receive)
    {
    }

    InfLinesOutcome read();

private:
    /// `value` with its tokens replaced; nullopt (and the file's outcome TooMuchText) when the
    /// room is used up.
    std::optional<std::string> substitute(std::string_view value);
    bool readVersion();
    bool readManufacturerEntry(const InfLine &entry);
    /// Reads [name] or [name.decoration] when it exists and was not read for this manufacturer.
    bool readModelsSection(const std::string &manufacturer, const std::string &name,
                           const std::string &decoration);
    bool readModelLine(const InfLine &modelLine);

    const InfFile &m_inf;
    database::IndexFields m_fields;
    std::size_t m_room;
    const InfLineReceiver &m_receive;
    /// Manufacturer, models section name and decoration of each models section read.
    std::set<std::tuple<std::string, std::string, std::string>> m_read;
    bool m_anyId = false;
    InfLinesOutcome m_stoppedBy = InfLinesOutcome::Read;
};

std::optional<std::string> ModelLinesReader::substitute(std::string_view value)
{
    std::optional<std::string> result = m_inf.substituteStrings(value, m_room);
    if (!result) {
        m_stoppedBy = InfLinesOutcome::TooMuchText;
    }
    return result;
}

bool ModelLinesReader::readVersion()
{
    // The first line of each key counts; its value number 0 or 1, or nothing.
    std::optional<std::string> classValue;
    std::optional<std::string> dateValue;
    std::optional<std::string> versionValue;
    m_inf.forEachLine("Version", [&](const InfLine &line) {
        const auto valueOf = [&](std::size_t index) {
            return index < line.values.size() ? line.values[index] : std::string();
        };
        if (line.key && !classValue && asciiLower(*line.key) == "class") {
            classValue = valueOf(0);
        } else if (line.key && !dateValue && asciiLower(*line.key) == "driverver") {
            dateValue = valueOf(0);
            versionValue = valueOf(1);
        }
        return true;
    });
    const auto className = substitute(classValue.value_or(""));
    const auto dateText = substitute(dateValue.value_or(""));
    const auto versionText = substitute(versionValue.value_or(""));
    if (!className || !dateText || !versionText) {
        return false;
    }
    m_fields[database::IndexField::Class] = *className;
    m_fields[database::IndexField::Date] = trimBlanks(*dateText);
    m_fields[database::IndexField::Version] = trimBlanks(*versionText);
    return true;
}

bool ModelLinesReader::readManufacturerEntry(const InfLine &entry)
{
    const auto name = substitute(entry.values.front());
    if (!name) {
        return false;
    }
    if (name->empty()) {
        return true;
    }
    const auto manufacturer = entry.key ? substitute(*entry.key) : name;
    if (!manufacturer || !readModelsSection(*manufacturer, *name, {})) {
        return false;
    }
    for (std::size_t index = 1; index < entry.values.size(); ++index) {
        if (!entry.values[index].empty() &&
            !readModelsSection(*manufacturer, *name, entry.values[index])) {
            return false;
        }
    }
    return true;
}

bool ModelLinesReader::readModelsSection(const std::string &manufacturer, const std::string &name,
                                         const std::string &decoration)
{
    const std::string section = decoration.empty() ? name : name + "." + decoration;
    if (!m_inf.hasSection(section)) {
        return true;
    }
    const std::size_t recordBytes =
        manufacturer.size() + name.size() + decoration.size() + kModelsSectionRecordBytes;
    if (!m_read.emplace(manufacturer, name, decoration).second) {
        return true;
    }
    if (recordBytes > m_room) {
        m_stoppedBy = InfLinesOutcome::TooMuchText;
        return false;
    }
    m_room -= recordBytes;
    m_fields[database::IndexField::Manufacturer] = manufacturer;
    m_fields[database::IndexField::Decoration] = decoration;
    return m_inf.forEachLine(section,
                             [this](const InfLine &modelLine) { return readModelLine(modelLine); });
}

bool ModelLinesReader::readModelLine(const InfLine &modelLine)
{
    if (!modelLine.key) {
        return true;
    }
    const auto deviceName = substitute(*modelLine.key);
    if (!deviceName) {
        return false;
    }
    m_fields[database::IndexField::DeviceName] = *deviceName;
    for (std::size_t index = 1; index < modelLine.values.size(); ++index) {
        const auto substituted = substitute(modelLine.values[index]);
        if (!substituted) {
            return false;
        }
        const std::string hardwareId = asciiUpper(trimBlanks(*substituted));
        if (hardwareId.empty()) {
            continue;
        }
        m_anyId = true;
        m_fields[database::IndexField::HardwareId] = hardwareId;
        if (!m_receive(hardwareId, m_fields)) {
            m_stoppedBy = InfLinesOutcome::Stopped;
            return false;
        }
    }
    return true;
}

InfLinesOutcome ModelLinesReader::read()
{
    if (!m_inf.hasSection("Manufacturer")) {
        return InfLinesOutcome::NoManufacturerSection;
    }
    if (!readVersion() || !m_inf.forEachLine("Manufacturer", [this](const InfLine &entry) {
            return readManufacturerEntry(entry);
        })) {
        return m_stoppedBy;
    }
    return m_anyId ? InfLinesOutcome::Read : InfLinesOutcome::NoModelLines;
}

} // namespace

InfLinesOutcome readInfLines(const InfFile &inf, const database::IndexFields &fileFields,
                             std::size_t mostTextBytes, const InfLineReceiver &receive)
{
    return ModelLinesReader(inf, fileFields, mostTextBytes, receive).read();
}

} // namespace tollen::builder
