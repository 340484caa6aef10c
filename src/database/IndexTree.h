#pragma once
// The index tree's layout, which the query reads and the builder writes. A hardware ID such as
// "PCI\VEN_8086&DEV_100E" names a bus (the text before its first "\") and pieces (the rest, split
// at each "&"). Its lines are found in DIRSTRUCT/<bus in lower case>/<piece 1>/.../index.txt, one
// folder level per piece up to the fourth.

#include <optional>
#include <string>
#include <string_view>

namespace tollen::database {

/// The folder below the database root that holds the tree.
inline constexpr std::string_view kIndexTreeName = "DIRSTRUCT";
/// The file of each folder of the tree that lists the lines of its IDs.
inline constexpr std::string_view kIndexFileName = "index.txt";
/// The deepest folder level: pieces after the fourth name no folder.
inline constexpr std::size_t kDeepestPiece = 4;

/// A piece or bus at the front of a text and what follows its separator; nullopt when no
/// separator followed.
struct IdSplit
{
    std::string_view front;
    std::optional<std::string_view> rest;
};

/// The bus of an ID: the text before its first "\" and the pieces' text after it.
IdSplit splitBus(std::string_view id);

/// The first piece of the pieces' text: the text before its first "&", and what follows it.
IdSplit splitPiece(std::string_view pieces);

/// The name of a bus's folder: the bus with its ASCII letters in lower case.
std::string busFolderName(std::string_view bus);

} // namespace tollen::database
