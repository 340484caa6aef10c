#include "database/InfModels.h"

#include "database/AsciiText.h"

#include <set>

namespace tollen::database {
namespace {

/// Value number `index` of the first line with this key in a section, or empty.
std::string valueOf(const std::vector<InfLine> &lines, std::string_view key, std::size_t index)
{
    for (const InfLine &line : lines) {
        if (line.key && asciiLower(*line.key) == asciiLower(key)) {
            return index < line.values.size() ? line.values[index] : std::string();
        }
    }
    return {};
}

/// A models section to read, with the manufacturer and decoration its lines carry.
struct ModelsSection
{
    std::string manufacturer;
    std::string name;
    std::string decoration;

    auto operator<=>(const ModelsSection &) const = default;
};

/// The models sections the [Manufacturer] entries name that exist in the file, each once, in the
/// order of the entries.
std::vector<ModelsSection> modelsSections(const InfFile &inf,
                                          const std::vector<InfLine> &manufacturerEntries)
{
    std::vector<ModelsSection> sections;
    std::set<ModelsSection> seen;
    const auto add = [&](ModelsSection section) {
        if (inf.hasSection(section.decoration.empty() ? section.name
                                                      : section.name + "." + section.decoration) &&
            seen.insert(section).second) {
            sections.push_back(std::move(section));
        }
    };
    for (const InfLine &entry : manufacturerEntries) {
        const std::string name = inf.substituteStrings(entry.values.front());
        if (name.empty()) {
            continue;
        }
        const std::string manufacturer = entry.key ? inf.substituteStrings(*entry.key) : name;
        add({manufacturer, name, {}});
        for (std::size_t index = 1; index < entry.values.size(); ++index) {
            if (!entry.values[index].empty()) {
                add({manufacturer, name, entry.values[index]});
            }
        }
    }
    return sections;
}

} // namespace

InfLinesOutcome readInfLines(const InfFile &inf, const IndexFields &fileFields,
                             const InfLineReceiver &receive)
{
    if (!inf.hasSection("Manufacturer")) {
        return InfLinesOutcome::NoManufacturerSection;
    }
    IndexFields fields = fileFields;
    const std::vector<InfLine> version = inf.section("Version");
    fields[IndexField::Class] = inf.substituteStrings(valueOf(version, "Class", 0));
    fields[IndexField::Date] =
        std::string(trimBlanks(inf.substituteStrings(valueOf(version, "DriverVer", 0))));
    fields[IndexField::Version] =
        std::string(trimBlanks(inf.substituteStrings(valueOf(version, "DriverVer", 1))));

    bool anyId = false;
    for (const ModelsSection &models : modelsSections(inf, inf.section("Manufacturer"))) {
        fields[IndexField::Manufacturer] = models.manufacturer;
        fields[IndexField::Decoration] = models.decoration;
        const std::string sectionName =
            models.decoration.empty() ? models.name : models.name + "." + models.decoration;
        for (const InfLine &modelLine : inf.section(sectionName)) {
            if (!modelLine.key) {
                continue;
            }
            fields[IndexField::DeviceName] = inf.substituteStrings(*modelLine.key);
            for (std::size_t index = 1; index < modelLine.values.size(); ++index) {
                const std::string hardwareId =
                    asciiUpper(trimBlanks(inf.substituteStrings(modelLine.values[index])));
                if (hardwareId.empty()) {
                    continue;
                }
                anyId = true;
                fields[IndexField::HardwareId] = hardwareId;
                if (!receive(hardwareId, fields)) {
                    return InfLinesOutcome::Stopped;
                }
            }
        }
    }
    return anyId ? InfLinesOutcome::Read : InfLinesOutcome::NoModelLines;
}

} // namespace tollen::database
