#include "builder/InfModels.h"

#include <gtest/gtest.h>

namespace tollen::builder {
namespace {

/// Fields of a line in test notation: manufacturer, device name, ID, class, decoration, version,
/// date (type and remote path are the file's own).
struct Line
{
    std::string manufacturer;
    std::string deviceName;
    std::string hardwareId;
    std::string className;
    std::string decoration;
    std::string version;
    std::string date;

    bool operator==(const Line &) const = default;
};

void PrintTo(const Line &line, std::ostream *out)
{
    *out << '{' << line.manufacturer << '|' << line.deviceName << '|' << line.hardwareId << '|'
         << line.className << '|' << line.decoration << '|' << line.version << '|' << line.date
         << '}';
}

struct Read
{
    InfLinesOutcome outcome;
    std::vector<Line> lines;
};

Read readLines(const std::string &text, std::size_t room = std::string::npos)
{
    const InfFile inf(text);
    database::IndexFields fileFields;
    fileFields[database::IndexField::Type] = "Folder";
    fileFields[database::IndexField::RemotePath] = "/a.inf";
    Read read;
    const auto receive = [&](const std::string &id, const database::IndexFields &f) {
        EXPECT_EQ(id, f[database::IndexField::HardwareId]);
        EXPECT_EQ(f[database::IndexField::Type], "Folder");
        EXPECT_EQ(f[database::IndexField::RemotePath], "/a.inf");
        read.lines.push_back({f[database::IndexField::Manufacturer],
                              f[database::IndexField::DeviceName],
                              f[database::IndexField::HardwareId], f[database::IndexField::Class],
                              f[database::IndexField::Decoration], f[database::IndexField::Version],
                              f[database::IndexField::Date]});
        return true;
    };
    read.outcome = readInfLines(inf, fileFields, room, receive);
    return read;
}

TEST(InfModels, ReadsTheUndecoratedSectionAndEachListedDecorationThatExists)
{
    const Read read = readLines(R"([Version]
Class = %ClassName%
DriverVer = 05/21/2008 , 8.4.21.0

[Manufacturer]
%Maker% = Models, NTamd64.6.1, ntx86 , NTARM64, NTia64, %Deco%, , NT$ARCH$

[Models]
%Desc% = Install, PCI\VEN_8086&DEV_100E
[models.NTamd64.6.1]
%Desc% = Install, PCI\VEN_8086&DEV_100E&SUBSYS_002E8086
[MODELS.NTX86]
%Desc% = Install, pci\ven_8086&dev_100e
[Models.NTARM64]
"Arm board" = Install, ACPI\ARMH0011
[Models.%Deco%]
Decoration not replaced = Install, PCI\VEN_1
[Models.NT$ARCH$]
Placeholder = Install, PCI\VEN_2
[Models.Decorated]
Never named = Install, PCI\VEN_3

[Strings]
Maker = "Example Maker"
Desc = "Example Gigabit Adapter"
ClassName = Net
Deco = Decorated
)");
    ASSERT_EQ(read.outcome, InfLinesOutcome::Read);
    const std::string maker = "Example Maker";
    const std::string desc = "Example Gigabit Adapter";
    EXPECT_EQ(
        read.lines,
        (std::vector<Line>{
            {maker, desc, R"(PCI\VEN_8086&DEV_100E)", "Net", "", "8.4.21.0", "05/21/2008"},
            {maker, desc, R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086)", "Net", "NTamd64.6.1",
             "8.4.21.0", "05/21/2008"},
            {maker, desc, R"(PCI\VEN_8086&DEV_100E)", "Net", "ntx86", "8.4.21.0", "05/21/2008"},
            {maker, "Arm board", R"(ACPI\ARMH0011)", "Net", "NTARM64", "8.4.21.0", "05/21/2008"},
            {maker, "Decoration not replaced", R"(PCI\VEN_1)", "Net", "%Deco%", "8.4.21.0",
             "05/21/2008"},
            {maker, "Placeholder", R"(PCI\VEN_2)", "Net", "NT$ARCH$", "8.4.21.0", "05/21/2008"},
        }));
}

TEST(InfModels, AnEntryWithoutEqualsNamesTheManufacturerAfterItsSection)
{
    const Read read = readLines("[Manufacturer]\r\n%Section%\r\nPlain\r\n"
                                "[Acme Models]\r\nWidget = i, USB\\VID_1\r\n"
                                "[Plain]\r\nGadget = i, USB\\VID_2\r\n"
                                "[Strings]\r\nSection = \"Acme Models\"\r\n");
    ASSERT_EQ(read.outcome, InfLinesOutcome::Read);
    ASSERT_EQ(read.lines.size(), 2U);
    EXPECT_EQ(read.lines[0].manufacturer, "Acme Models");
    EXPECT_EQ(read.lines[0].deviceName, "Widget");
    EXPECT_EQ(read.lines[1].manufacturer, "Plain");
}

TEST(InfModels, EveryIdOfAModelLineGivesALineUpperCased)
{
    std::string many;
    for (int index = 0; index < 300; ++index) {
        many += ", PCI\\VEN_" + std::to_string(index);
    }
    const Read read = readLines("[Manufacturer]\r\nM = S\r\n[S]\r\n"
                                "Dev = Install, %DeviceID1%&mi_00, , usb\\class_03 , ,\r\n"
                                "No IDs = Install\r\n"
                                "Not a model line without a key, PCI\\VEN_9\r\n"
                                "Many = Install" +
                                many +
                                "\r\n"
                                "[Strings]\r\nDeviceID1 = \"usb\\vid_046d&pid_c52b\"\r\n");
    ASSERT_EQ(read.outcome, InfLinesOutcome::Read);
    ASSERT_EQ(read.lines.size(), 302U);
    EXPECT_EQ(read.lines[0].hardwareId, "USB\\VID_046D&PID_C52B&MI_00");
    EXPECT_EQ(read.lines[1].hardwareId, "USB\\CLASS_03");
    EXPECT_EQ(read.lines[301].hardwareId, "PCI\\VEN_299");
}

TEST(InfModels, VersionFieldsAreEmptyWhenAbsent)
{
    const Read read = readLines("[Version]\r\nDriverVer = 07/01/2024\r\n"
                                "[Manufacturer]\r\nM = S\r\n[S]\r\nDev = i, PCI\\VEN_1\r\n");
    ASSERT_EQ(read.lines.size(), 1U);
    EXPECT_EQ(read.lines[0], (Line{"M", "Dev", "PCI\\VEN_1", "", "", "", "07/01/2024"}));
}

TEST(InfModels, FilesWithoutManufacturerOrModelLinesGiveNone)
{
    struct Row
    {
        const char *what;
        const char *text;
        InfLinesOutcome outcome;
    };
    const Row rows[] = {
        {"empty", "", InfLinesOutcome::NoManufacturerSection},
        {"no [Manufacturer]", "[Version]\r\nClass=Net\r\n[S]\r\nDev=i,PCI\\VEN_1\r\n",
         InfLinesOutcome::NoManufacturerSection},
        {"models section missing", "[Manufacturer]\r\nM = S, NTamd64\r\n",
         InfLinesOutcome::NoModelLines},
        {"empty section name", "[Manufacturer]\r\nM = , NTamd64\r\n[.NTamd64]\r\nD=i,PCI\\V\r\n",
         InfLinesOutcome::NoModelLines},
        {"model lines without IDs", "[Manufacturer]\r\nM = S\r\n[S]\r\nDev = i\r\nDev2 = i, ,\r\n",
         InfLinesOutcome::NoModelLines},
    };
    for (const Row &row : rows) {
        const Read read = readLines(row.text);
        EXPECT_EQ(read.outcome, row.outcome) << row.what;
        EXPECT_TRUE(read.lines.empty()) << row.what;
    }
}

TEST(InfModels, StopsWhereverTheTextBuiltFromTheFilePassesItsRoom)
{
    // One copy of %S% fits the room with the rest of the file's text (and the record of its
    // models section), two do not.
    const std::string strings = "[Strings]\r\nS=\"" + std::string(200, 's') + "\"\r\n";
    const std::string models = "[Manufacturer]\r\nM = Models\r\n[Models]\r\n";
    struct Row
    {
        const char *where;
        std::string text;
        InfLinesOutcome outcome;
    };
    const Row rows[] = {
        {"one copy", models + "%S% = i, PCI\\A\r\n", InfLinesOutcome::Read},
        {"Class", "[Version]\r\nClass=%S%%S%\r\n" + models + "D = i, PCI\\A\r\n",
         InfLinesOutcome::TooMuchText},
        {"DriverVer", "[Version]\r\nDriverVer=%S%,%S%\r\n" + models + "D = i, PCI\\A\r\n",
         InfLinesOutcome::TooMuchText},
        {"manufacturer", "[Manufacturer]\r\n%S%%S% = Models\r\n[Models]\r\nD = i, PCI\\A\r\n",
         InfLinesOutcome::TooMuchText},
        {"device names", models + "%S% = i, PCI\\A\r\n%S% = i, PCI\\B\r\n",
         InfLinesOutcome::TooMuchText},
        {"ID", models + "D = i, PCI\\%S%%S%\r\n", InfLinesOutcome::TooMuchText},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(readLines(row.text + strings, 390).outcome, row.outcome) << row.where;
    }
}

TEST(InfModels, TheReceiverCanStopTheFile)
{
    const InfFile inf("[Manufacturer]\r\nM = S\r\n[S]\r\nDev = i, PCI\\A, PCI\\B, PCI\\C\r\n");
    int received = 0;
    EXPECT_EQ(readInfLines(inf, {}, std::string::npos,
                           [&](const std::string &, const database::IndexFields &) {
                               return ++received < 2;
                           }),
              InfLinesOutcome::Stopped);
    EXPECT_EQ(received, 2);
}

} // namespace
} // namespace tollen::builder
