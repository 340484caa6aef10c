#include "builder/InfModels.h"

#include <gtest/gtest.h>

namespace tollen::builder {
namespace {

using Lines = std::vector<std::string>;

struct Read
{
    InfLinesOutcome outcome;
    /// Each line as manufacturer|device name|ID|class|decoration|version|date.
    Lines lines;
};

Read readLines(const std::string &text, std::size_t room = std::string::npos)
{
    using database::IndexField;
    const InfFile inf(text);
    database::IndexFields fileFields;
    fileFields[IndexField::RemotePath] = "/a.inf";
    Read read;
    read.outcome = readInfLines(
        inf, fileFields, room, [&](const std::string &id, const database::IndexFields &f) {
            EXPECT_EQ(id, f[IndexField::HardwareId]);
            EXPECT_EQ(f[IndexField::RemotePath], "/a.inf");
            std::string line = f[IndexField::Manufacturer];
            for (const IndexField field :
                 {IndexField::DeviceName, IndexField::HardwareId, IndexField::Class,
                  IndexField::Decoration, IndexField::Version, IndexField::Date}) {
                line += "|" + f[field];
            }
            read.lines.push_back(line);
            return true;
        });
    return read;
}

TEST(InfModels, ReadsTheUndecoratedSectionAndEachListedDecorationThatExists)
{
    const Read read = readLines(R"([Version]
Class = %ClassName%
DriverVer = 05/21/2008 , 8.4.21.0

[Manufacturer]
%Maker% = Models, NTamd64.6.1, ntx86 , , NTia64, %Deco%

[Models]
%Desc% = Install, PCI\VEN_8086&DEV_100E
[models.NTamd64.6.1]
%Desc% = Install, PCI\VEN_8086&DEV_100E&SUBSYS_002E8086
[MODELS.NTX86]
%Desc% = Install, pci\ven_8086&dev_100e
[Models.%Deco%]
Decoration not replaced = Install, PCI\VEN_1
[Models.Decorated]
Never named = Install, PCI\VEN_3

[Strings]
Maker = "Example Maker"
Desc = "Example Gigabit Adapter"
ClassName = Net
Deco = Decorated
)");
    ASSERT_EQ(read.outcome, InfLinesOutcome::Read);
    const auto line = [&](const std::string &start, const std::string &decoration) {
        return start + "|Net|" + decoration + "|8.4.21.0|05/21/2008";
    };
    EXPECT_EQ(
        read.lines,
        (Lines{
            line(R"(Example Maker|Example Gigabit Adapter|PCI\VEN_8086&DEV_100E)", ""),
            line(R"(Example Maker|Example Gigabit Adapter|PCI\VEN_8086&DEV_100E&SUBSYS_002E8086)",
                 "NTamd64.6.1"),
            line(R"(Example Maker|Example Gigabit Adapter|PCI\VEN_8086&DEV_100E)", "ntx86"),
            line(R"(Example Maker|Decoration not replaced|PCI\VEN_1)", "%Deco%")}));
}

TEST(InfModels, EveryIdOfAModelLineGivesALineUpperCasedUnderTheManufacturerOrItsSection)
{
    // An entry without "=" names the manufacturer after its section.
    const Read read = readLines("[Version]\r\nDriverVer = 07/01/2024\r\n"
                                "[Manufacturer]\r\n%Section%\r\nPlain\r\n"
                                "[Acme Models]\r\n"
                                "Dev = Install, %DeviceID1%&mi_00, , usb\\class_03 , ,\r\n"
                                "No IDs = Install\r\n"
                                "Not a model line without a key, PCI\\VEN_9\r\n"
                                "[Plain]\r\nGadget = i, USB\\VID_2\r\n"
                                "[Strings]\r\nSection = \"Acme Models\"\r\n"
                                "DeviceID1 = \"usb\\vid_046d&pid_c52b\"\r\n");
    ASSERT_EQ(read.outcome, InfLinesOutcome::Read);
    // Class and version are empty when the file does not give them.
    EXPECT_EQ(read.lines, (Lines{R"(Acme Models|Dev|USB\VID_046D&PID_C52B&MI_00||||07/01/2024)",
                                 R"(Acme Models|Dev|USB\CLASS_03||||07/01/2024)",
                                 R"(Plain|Gadget|USB\VID_2||||07/01/2024)"}));
}

TEST(InfModels, FilesWithoutManufacturerOrModelLinesGiveNone)
{
    const std::pair<const char *, InfLinesOutcome> rows[] = {
        {"", InfLinesOutcome::NoManufacturerSection},
        {"[Version]\r\nClass=Net\r\n[S]\r\nDev=i,PCI\\VEN_1\r\n",
         InfLinesOutcome::NoManufacturerSection},
        {"[Manufacturer]\r\nM = S, NTamd64\r\n", InfLinesOutcome::NoModelLines},
        {"[Manufacturer]\r\nM = , NTamd64\r\n[.NTamd64]\r\nD=i,PCI\\V\r\n",
         InfLinesOutcome::NoModelLines},
        {"[Manufacturer]\r\nM = S\r\n[S]\r\nDev = i\r\nDev2 = i, ,\r\n",
         InfLinesOutcome::NoModelLines},
    };
    for (const auto &[text, outcome] : rows) {
        const Read read = readLines(text);
        EXPECT_EQ(read.outcome, outcome) << text;
        EXPECT_TRUE(read.lines.empty()) << text;
    }
}

TEST(InfModels, StopsWhereverTheTextBuiltFromTheFilePassesItsRoom)
{
    // One copy of %S% fits the room with the rest of the file's text (and the record of its
    // models section), two do not, wherever they stand.
    const std::string strings = "[Strings]\r\nS=\"" + std::string(200, 's') + "\"\r\n";
    const std::string models = "[Manufacturer]\r\nM = Models\r\n[Models]\r\n";
    EXPECT_EQ(readLines(models + "%S% = i, PCI\\A\r\n" + strings, 390).outcome,
              InfLinesOutcome::Read);
    for (const std::string &text : {
             "[Version]\r\nClass=%S%%S%\r\n" + models + "D = i, PCI\\A\r\n",
             "[Version]\r\nDriverVer=%S%,%S%\r\n" + models + "D = i, PCI\\A\r\n",
             std::string("[Manufacturer]\r\n%S%%S% = Models\r\n[Models]\r\nD = i, PCI\\A\r\n"),
             models + "%S% = i, PCI\\A\r\n%S% = i, PCI\\B\r\n",
             models + "D = i, PCI\\%S%%S%\r\n",
         }) {
        EXPECT_EQ(readLines(text + strings, 390).outcome, InfLinesOutcome::TooMuchText) << text;
    }
}

} // namespace
} // namespace tollen::builder
