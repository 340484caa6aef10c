#include "cli/CommandTable.h"

#include <algorithm>
#include <array>

namespace tollen::cli {

namespace {

const std::array<OptionEntry, 22> kOptions = {{
    {Option::Help, "help", 'h', "", "show this help and end"},
    {Option::Version, "version", 0, "", "show the program's version and end"},
    {Option::Format, "format", 0, "FORMAT",
     "text (aligned columns, the default), tsv (a heading line, then one line per row, fields "
     "separated by tabs) or json (one document, also when the command fails: its lists empty "
     "and its \"message\" saying why)"},
    {Option::Yes, "yes", 'y', "",
     "fetch an index file larger than 1,000,000 bytes; without it such an index is skipped"},
    {Option::Refine, "refine", 0, "ENTRY",
     "run the follow-up query for this entry of the refinement list (Subsys/DEVs), as a "
     "double-click on it does; may be given again to refine further",
     true},
    {Option::Output, "output", 'o', "FILE",
     "save the package as FILE (a folder: under the package's own name there); default: the "
     "package's own name in the current folder. A folder package (the path of a loose INF "
     "file) is saved into the folder FILE; default: a folder named as the package's"},
    {Option::Http, "http", 0, "URL",
     "use the database at URL (http:, https: or file:) for this run"},
    {Option::Ftp, "ftp", 0, "HOST[:PORT]", "use the database on this FTP server for this run"},
    {Option::BasePath, "base-path", 0, "PATH", "the database's folder on the FTP server"},
    {Option::User, "user", 0, "NAME", "the FTP user name"},
    {Option::PasswordFile, "password-file", 0, "FILE",
     "read the FTP password from the first line of FILE (a password is never given on the "
     "command line, where other users could see it)"},
    {Option::CaFile, "ca-file", 0, "FILE",
     "trust the certificate authorities of the PEM file FILE instead of the system's, for a "
     "server whose certificate is its own"},
    {Option::Missing, "missing", 0, "",
     "only the devices without a working driver (status none or problem)"},
    {Option::Updates, "updates", 0, "",
     "only the devices for which the database holds a newer driver than the installed one "
     "(with --missing: the devices of either kind)"},
    {Option::AllRows, "all-rows", 0, "", "every matching driver row of each device, best first"},
    {Option::Vendor, "vendor", 0, "",
     "also the vendor's other drivers: rows of the vendor's index that match none of the "
     "device's IDs (never counted as the device's driver)"},
    {Option::Arch, "arch", 0, "ARCH",
     "the target's architecture: x86, amd64, arm64, arm or ia64 (default: the hive's, or this "
     "machine's)"},
    {Option::Os, "os", 0, "VERSION",
     "the target's Windows version, MAJOR.MINOR[.BUILD] such as 10.0.19041 or 6.1 (default: "
     "unknown, which excludes no driver)"},
    {Option::Bus, "bus", 0, "BUS",
     "the bus of an ID given as VENDOR:DEVICE (lspci's form): pci (the default) or usb"},
    {Option::Continue, "continue", 0, "",
     "continue an interrupted download from the NAME.part file it left, where the server "
     "can, else start it again; without it an earlier part is removed first"},
    {Option::To, "to", 0, "DIR",
     "the folder the driver packages go to (made when missing); a run after one that was "
     "interrupted or failed fetches only what is missing"},
    {Option::All, "all", 0, "", "the drivers of every device, whatever driver it has now"},
}};

const std::vector<Option> kNetworkOptions = {Option::Http, Option::Ftp,          Option::BasePath,
                                             Option::User, Option::PasswordFile, Option::CaFile};

std::vector<Option> withNetwork(std::vector<Option> options)
{
    options.insert(options.end(), kNetworkOptions.begin(), kNetworkOptions.end());
    return options;
}

const std::vector<CommandEntry> &commands()
{
    static const std::vector<CommandEntry> table = {
        {Command::Devices,
         "devices",
         "[SOURCE]",
         0,
         1,
         {},
         "list the devices of this machine or of SOURCE",
         "Lists the devices of this machine, or those of SOURCE: a hardware profile (.hwp), a "
         "registry export (.reg) or an offline SYSTEM hive, told apart by their content as "
         "\"Load profile\" does. Columns: Device ID, Device Name, then the installed driver: "
         "Status (ok, none, problem; unknown for a profile, which holds IDs only), Driver, "
         "Provider, Version, Date, INF, Matching ID. On Linux the driver is the kernel's."},
        {Command::ProfileSave,
         "profile save",
         "FILE [SOURCE]",
         1,
         2,
         {},
         "write the devices as a hardware profile",
         "Writes the devices of this machine, or of SOURCE, to FILE as a hardware profile "
         "(.hwp), with the writer of \"Save profile\": a hive or a registry export becomes a "
         "profile in one step. FILE is replaced only once the whole profile is written."},
        {Command::Criteria,
         "criteria",
         "ID",
         1,
         1,
         {Option::Bus},
         "the search criteria and ID list of a device ID",
         "Shows the search criteria the window derives from the device ID, shortest first, "
         "the preselected one marked (columns: Criterion, Preselected), then the IDs a driver "
         "is matched against, in Windows' rank order (columns: Rank, ID, Kind). ID may be "
         "given as PCI\\VEN_8086&DEV_100E... in any letter case, or as 8086:100e (lspci's "
         "form; --bus usb for a USB ID)."},
        {Command::Search, "search", "QUERY", 1, 1,
         withNetwork({Option::Refine, Option::Yes, Option::Bus}),
         "the drivers the database lists for a query",
         "Queries the driver database with QUERY (a bus, a backslash and ID pieces joined by "
         "\"&\", such as PCI\\VEN_8086&DEV_100E, in any letter case, or VENDOR:DEVICE as lspci "
         "writes it), as \"Other device\" does, and shows the driver rows with their nine "
         "columns, then the refinement entries (Subsys/DEVs)."},
        {Command::Match, "match", "[SOURCE | ID]", 0, 1,
         withNetwork({Option::Missing, Option::Updates, Option::AllRows, Option::Vendor,
                      Option::Arch, Option::Os, Option::Bus}),
         "the driver that fits each device, and what it has now",
         "For every device of this machine, of SOURCE, or the one device ID, shows its driver "
         "status (ok, none, problem, unknown), the driver installed, the database's best row "
         "and why it was chosen, and a verdict: update (a newer driver), installed (the same), "
         "older (the installed one is newer), new (the device has none). A row is the device's "
         "driver only when its Hardware ID is one of the device's hardware or compatible IDs; "
         "the lower that ID's rank in the list, the better. Among the rows, those whose "
         "[Models] decoration fits the target's architecture and version come first, then the "
         "better-ranked ID, the newer date and the higher version. Exit code 0 when every "
         "device shown has a driver that fits, 5 when some have, 3 when none has."},
        {Command::Download, "download", "REMOTE-PATH", 1, 1,
         withNetwork({Option::Output, Option::Continue}), "download a driver package",
         "Downloads the package at REMOTE-PATH (a Remote Path column of search) as the "
         "window's save branch does: the path is cut after its archive (.zip, .exe, .rar, "
         ".7z). The path of a loose INF file downloads its whole folder package, every file "
         "its file list names. Each file is checked against the SHA-256 the database's file "
         "list gives (Check: verified); a database without lists gives none (Check: "
         "unverified). The bytes go to NAME.part, which takes the name NAME only once the file "
         "is complete and matches; a file that does not match is removed and the exit code is "
         "4, with both checksums in the message."},
        {Command::Fetch, "fetch", "[SOURCE] --to DIR", 0, 1,
         withNetwork({Option::To, Option::Missing, Option::Updates, Option::All, Option::Arch,
                      Option::Os, Option::Bus}),
         "fetch the drivers of a machine into one folder",
         "Matches the devices of this machine, or of SOURCE, as match does, and fetches the "
         "best driver of each device asked for (--missing, the default: those without a "
         "working driver; --updates: those with a newer driver in the database; --all: every "
         "device) into DIR: each package once, however many devices share it, in a folder of "
         "its own, DIR/NAME-DIGITS (the package's name made safe for Windows, then the first "
         "12 digits of the SHA-256 of its path). Every file is checked against the database's "
         "SHA-256 before it is kept; archives are unpacked (never a member outside the "
         "package's folder, no links or device files), folder packages copied file by file "
         "from their file lists. DIR/tollen-fetch.json names each device, its driver, its "
         "package's folder and files with their checksums; DIR/README.txt gives the pnputil "
         "and dism commands that install the folder on Windows. A second run skips the "
         "packages already there and whole, and resumes those an interrupted run left. Exit "
         "code as match's (0, 5, 3), 4 when a package could not be fetched or did not match "
         "its checksum (the others are still fetched)."},
        {Command::Info, "info", "", 0, 0, withNetwork({}), "what the database says of itself",
         "Shows the description tollen-index wrote into the database on the host "
         "(DIRSTRUCT/tollen-database.json): its format, the builder and its version, when it "
         "was built (UTC), and its counts of packages, INF files, index lines and index files. "
         "Exit code 3 when the host holds no description (no database root, or a database "
         "built before databases described themselves)."},
    };
    return table;
}

} // namespace

std::span<const OptionEntry> optionEntries()
{
    return kOptions;
}

const OptionEntry &optionEntry(Option option)
{
    return *std::ranges::find(kOptions, option, &OptionEntry::option);
}

std::span<const CommandEntry> commandEntries()
{
    return commands();
}

const CommandEntry &commandEntry(Command command)
{
    return *std::ranges::find(commands(), command, &CommandEntry::command);
}

bool commandTakes(const CommandEntry &command, Option option)
{
    return option == Option::Help || option == Option::Version || option == Option::Format ||
           std::ranges::find(command.options, option) != command.options.end();
}

std::string_view commandName(Command command)
{
    return commandEntry(command).name;
}

} // namespace tollen::cli
