#pragma once
// The index lines an INF file gives: one for each ID of each model line in each models section
// that its [Manufacturer] section names, undecorated or decorated.
//
// A [Manufacturer] entry is "name = section[, decoration ...]", or just "section", which then
// names the manufacturer too. The undecorated [section] is read when it exists, and [section.D]
// for each listed decoration D when it exists. A model line is "device name = install section,
// ID[, ID ...]"; every non-empty ID on it gives a line. %tokens% are replaced in the names, the
// models section names, the IDs, Class and DriverVer, but never in a decoration. The sections are
// read a line at a time, the models sections as their [Manufacturer] entries are read.

#include "builder/InfFile.h"
#include "database/IndexLine.h"

#include <functional>
#include <string>

namespace tollen::builder {

enum class InfLinesOutcome {
    /// Every model line was read (the file may still have given no line at all when its model
    /// lines hold no IDs).
    Read,
    NoManufacturerSection,
    NoModelLines,
    /// The receiver asked to stop.
    Stopped,
    /// The text built from the file (its strings substituted, its models sections noted) would
    /// pass the room given for it.
    TooMuchText,
};

/// Receives one line: the ID as the model line gave it (upper-cased) and the line's fields.
/// Returns false to stop reading the file.
using InfLineReceiver =
    std::function<bool(const std::string &hardwareId, const database::IndexFields &)>;

/// Reads the model lines of `inf`. `fileFields` carries the fields that depend on where the file
/// was found (type and remote path); the others are filled from the file. The text built from the
/// file takes at most `mostTextBytes` in all, so a few tokens repeated cannot make it huge.
InfLinesOutcome readInfLines(const InfFile &inf, const database::IndexFields &fileFields,
                             std::size_t mostTextBytes, const InfLineReceiver &receive);

} // namespace tollen::builder
