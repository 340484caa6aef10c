#include "database/DriverMatch.h"

#include <gtest/gtest.h>

namespace tollen::database {
namespace {

using inventory::DriverStatus;
using inventory::TargetSystem;

const TargetSystem kAnyTarget{};
const TargetSystem kAmd64{"amd64", std::nullopt};

TargetSystem target(std::optional<std::string> architecture, int major, int minor,
                    std::optional<int> build = std::nullopt)
{
    return {std::move(architecture), inventory::WindowsVersion{major, minor, build}};
}

TEST(ModelsDecoration, SectionsServeTheirArchitectureOnTheirVersionAndLater)
{
    struct Row
    {
        std::string_view decoration;
        TargetSystem target;
        Applicability applicability;
    };
    using enum Applicability;
    const Row rows[] = {
        {"", target("x86", 5, 1), Applies},
        {"", kAmd64, DoesNotApply},
        {"NT", kAmd64, DoesNotApply},
        {"NT.6.0", target("x86", 6, 1), Applies},
        {"NT.6.2", target("x86", 6, 1), DoesNotApply},
        {"ntAMD64", kAmd64, Applies},
        {"NTarm", target("arm64", 10, 0), DoesNotApply},
        {"NTamd64.10.0", target("amd64", 6, 3), DoesNotApply},
        {"NTx86.5.2", target("x86", 5, 1), DoesNotApply},
        {"NTx86.6", target("x86", 6, 0), Applies},
        {"NTx86.5.1", target("x86", 6, 0), Applies},
        {"NTamd64.10.0...19041", target("amd64", 10, 0, 19041), Applies},
        {"NTamd64.10.0...19041", target("amd64", 10, 0, 18363), DoesNotApply},
        {"NTamd64.10.0...19041", target("amd64", 10, 0), Applies},
        {"NTamd64.6.3...99999", target("amd64", 10, 0, 10240), Applies},
        {"NTx86.5.1.0x1.16", target("x86", 5, 1), Applies},
        {"NTarm64.10.0...22000", kAnyTarget, Applies},
        {"NTamd64.10.0", target(std::nullopt, 6, 1), DoesNotApply},
        {"NTx86.5.1.0xZ", target("x86", 5, 1), Unreadable},
        {"NTmips", kAnyTarget, Unreadable},
        {"amd64", kAmd64, Unreadable},
        {"NTamd64.10.0.1.1.1.1", kAmd64, Unreadable},
        {"NTamd64.-1", kAmd64, Unreadable},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(decorationApplies(row.decoration, row.target), row.applicability)
            << row.decoration;
    }
}

constexpr std::string_view kExact = "PCI\\VEN_8086&DEV_100E&SUBSYS_AAAA8086&REV_01";

inventory::Device nic()
{
    return {std::string(kExact),
            "Network card",
            {std::string(kExact), "PCI\\VEN_8086&DEV_100E&SUBSYS_AAAA8086",
             "PCI\\VEN_8086&DEV_100E&CC_020000", "PCI\\VEN_8086&DEV_100E&CC_0200"},
            {"PCI\\VEN_8086&DEV_100E&REV_01", "PCI\\VEN_8086&DEV_100E", "PCI\\VEN_8086&CC_020000",
             "PCI\\VEN_8086&CC_0200", "PCI\\VEN_8086", "PCI\\CC_020000", "PCI\\CC_0200"},
            {}};
}

/// A row named `name` (its DeviceName) for `id`.
IndexFields row(std::string_view name, std::string_view id, std::string_view decoration = "",
                std::string_view date = "01/01/2020", std::string_view version = "1.0",
                std::string_view rowClass = "Net")
{
    IndexFields fields;
    fields[IndexField::DeviceName] = name;
    fields[IndexField::HardwareId] = id;
    fields[IndexField::Decoration] = decoration;
    fields[IndexField::Date] = date;
    fields[IndexField::Version] = version;
    fields[IndexField::Class] = rowClass;
    return fields;
}

TEST(DriverMatch, RowsOfTheDevicesIdsRankByApplicabilityIdOrderDateAndVersion)
{
    struct Case
    {
        const char *name;
        TargetSystem target;
        /// Each match as name@idRank, "c" for a compatible ID.
        std::vector<std::string> ranked;
        std::vector<IndexFields> rows;
    };
    const Case cases[] = {
        {"other revisions and subsystems are no match; hardware IDs before compatible IDs",
         kAnyTarget,
         {"exact@0", "revision@4c", "vendor@8c"},
         {row("rev02", "PCI\\VEN_8086&DEV_100E&SUBSYS_AAAA8086&REV_02", "", "01/01/2024"),
          row("bbbb", "PCI\\VEN_8086&DEV_100E&SUBSYS_BBBB8086", "", "01/01/2024"),
          row("vendor", "PCI\\VEN_8086", "", "01/01/2024"),
          row("revision", "pci\\ven_8086&dev_100e&rev_01", "", "01/01/2023"),
          row("exact", kExact, "", "01/01/2001")}},
        {"an applicable row of any rank before one that does not apply, unreadable last",
         kAmd64,
         {"generic@10c", "x86@0", "unreadable@0"},
         {row("unreadable", kExact, "NTamd64.x"), row("x86", kExact),
          row("generic", "PCI\\CC_0200", "NTamd64")}},
        {"no extension INF; newer date (unreadable oldest), then higher version; ties keep order",
         kAnyTarget,
         {"10.0@0", "10.0 again@0", "9.9@0", "older@0", "undated@0"},
         {row("9.9", kExact, "", "01/01/2020", "9.9"),
          row("10.0", kExact, "", "01/01/2020", "10.0"),
          row("older", kExact, "", "12/31/2019", "99.0"),
          row("10.0 again", kExact, "", "01/01/2020", "10.0.0"),
          row("undated", kExact, "", "", "99.0"),
          row("extension", kExact, "", "01/01/2024", "1.0", " extension")}},
    };
    for (const Case &test : cases) {
        std::vector<std::string> ranked;
        for (const MatchedDriver &match : rankMatches(nic(), test.rows, test.target)) {
            ranked.push_back(match.row[IndexField::DeviceName] + "@" +
                             std::to_string(match.idRank) + (match.compatibleId ? "c" : ""));
        }
        EXPECT_EQ(ranked, test.ranked) << test.name;
    }
}

TEST(DriverMatch, VerdictComparesTheBestRowWithTheInstalledDriverByDateThenVersion)
{
    struct Row
    {
        inventory::InstalledDriver installed;
        std::string_view bestDate;
        std::string_view bestVersion;
        Verdict verdict;
    };
    using enum DriverStatus;
    const Row rows[] = {
        {{None, {}, {}, {}, {}, {}, {}}, "01/01/2020", "1.0", Verdict::New},
        {{Unknown, {}, {}, "1.0", "6-21-2006", {}, {}}, "01/01/2020", "1.0", Verdict::Unknown},
        {{Ok, {}, {}, "2.0", "6-21-2006", {}, {}}, "06/22/2006", "0.9", Verdict::Update},
        {{Ok, {}, {}, "9.0", "6-21-2006", {}, {}}, "06/21/2006", "10.0", Verdict::Update},
        {{Ok, {}, {}, "1.0", "6-21-2006", {}, {}}, "06/21/2006", "1.0.0.0", Verdict::Installed},
        {{Problem, {}, {}, "1.0", "1-1-2020", {}, {}}, "12/31/2019", "9.0", Verdict::Older},
        {{Ok, {}, {}, {}, "6-21-2006", {}, {}}, "06/22/2006", "", Verdict::Update},
        {{Ok, {}, {}, {}, {}, {}, {}}, "01/01/2020", "1.0", Verdict::Unknown},
    };
    for (const Row &test : rows) {
        EXPECT_EQ(
            judgeInstalled(test.installed, row("", kExact, "", test.bestDate, test.bestVersion)),
            test.verdict)
            << test.installed.date << " " << test.installed.version;
    }
}

} // namespace
} // namespace tollen::database
