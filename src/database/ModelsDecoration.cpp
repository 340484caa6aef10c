#include "database/ModelsDecoration.h"

#include "core/Text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <tuple>

namespace tollen::database {
namespace {

constexpr std::string_view kPlatformPrefix = "NT";
/// The architecture an undecorated or bare "NT" section serves.
constexpr std::string_view kPlainArchitecture = "x86";
constexpr std::array<std::string_view, 5> kArchitectures = {"x86", "amd64", "ia64", "arm", "arm64"};
/// Major version, minor version, product type, suite mask, build.
constexpr std::size_t kVersionFields = 5;

/// What a decoration says; a version field left out or empty is nullopt.
struct Decoration
{
    std::string_view architecture = kPlainArchitecture;
    std::optional<int> major;
    std::optional<int> minor;
    std::optional<int> build;
};

std::optional<int> decimal(std::string_view text)
{
    return wholeNumber<int>(text);
}

/// Product types and suite masks are written in hexadecimal ("0x1") or in decimal.
std::optional<int> flags(std::string_view text)
{
    if (startsWithIgnoringCase(text, "0x")) {
        return wholeNumber<int>(text.substr(2), 16);
    }
    return decimal(text);
}

std::optional<Decoration> parseDecoration(std::string_view text)
{
    Decoration decoration;
    text = trimBlanks(text);
    if (text.empty()) {
        return decoration;
    }
    if (!startsWithIgnoringCase(text, kPlatformPrefix)) {
        return std::nullopt;
    }
    text.remove_prefix(kPlatformPrefix.size());
    const auto dot = text.find('.');
    const std::string_view architecture = text.substr(0, dot);
    if (!architecture.empty()) {
        const auto known = std::ranges::find_if(kArchitectures, [&](std::string_view name) {
            return equalsIgnoringCase(name, architecture);
        });
        if (known == kArchitectures.end()) {
            return std::nullopt;
        }
        decoration.architecture = *known;
    }
    // Where each field's number goes; the product type and suite mask are only checked.
    std::array<std::optional<int> *, kVersionFields> numbers = {
        &decoration.major, &decoration.minor, nullptr, nullptr, &decoration.build};
    std::optional<std::string_view> rest;
    if (dot != std::string_view::npos) {
        rest = text.substr(dot + 1);
    }
    for (std::size_t field = 0; rest; ++field) {
        if (field == kVersionFields) {
            return std::nullopt;
        }
        const auto end = rest->find('.');
        const std::string_view part = rest->substr(0, end);
        rest = end == std::string_view::npos ? std::nullopt : std::optional(rest->substr(end + 1));
        if (part.empty()) {
            continue;
        }
        const auto value = numbers[field] ? decimal(part) : flags(part);
        if (!value) {
            return std::nullopt;
        }
        if (numbers[field]) {
            *numbers[field] = value;
        }
    }
    return decoration;
}

bool versionServes(const Decoration &decoration, const inventory::WindowsVersion &target)
{
    if (!decoration.major && !decoration.minor && !decoration.build) {
        return true;
    }
    const auto least = std::tuple(decoration.major.value_or(0), decoration.minor.value_or(0));
    const auto running = std::tuple(target.major, target.minor);
    if (running != least) {
        return running > least;
    }
    // A build the target does not know excludes nothing.
    return !decoration.build || !target.build || *target.build >= *decoration.build;
}

} // namespace

std::string_view describe(Applicability applicability)
{
    switch (applicability) {
    case Applicability::Applies:
        return "applies";
    case Applicability::DoesNotApply:
        return "does not apply";
    case Applicability::Unreadable:
        break;
    }
    return "unreadable decoration";
}

Applicability decorationApplies(std::string_view decoration, const inventory::TargetSystem &target)
{
    const auto parsed = parseDecoration(decoration);
    if (!parsed) {
        return Applicability::Unreadable;
    }
    if (target.architecture && !equalsIgnoringCase(*target.architecture, parsed->architecture)) {
        return Applicability::DoesNotApply;
    }
    if (target.version && !versionServes(*parsed, *target.version)) {
        return Applicability::DoesNotApply;
    }
    return Applicability::Applies;
}

} // namespace tollen::database
