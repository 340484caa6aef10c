// The shell registration half of cRegistry: document types, their verbs and icon, written under
// HKEY_CLASSES_ROOT and again under HKEY_LOCAL_MACHINE\SOFTWARE\Classes.

#include "core/Text.h"
#include "registry/RegistryError.h"
#include "registry/cRegistry.h"

#include <optional>

namespace tollen::registry {

namespace {

constexpr std::int32_t kInvalidItemList = -2147194452; // 0x800469AC
constexpr std::int32_t kClassNotDefined = -2147194451; // 0x800469AD

std::string quotedPath(std::string_view exePath)
{
    auto path = trimSpaces(exePath);
    if (path.empty() || path.front() != '"') {
        path.insert(path.begin(), '"');
    }
    if (path.back() != '"') {
        path.push_back('"');
    }
    return path;
}

std::string orDefault(std::string_view text, std::string fallback)
{
    return text.empty() ? fallback : std::string(text);
}

} // namespace

void cRegistry::writeClassesValue(const std::string &section, std::string_view text)
{
    m_valueType = kString;
    m_valueKey.clear();
    m_sectionKey = section;
    m_classKey = static_cast<std::int32_t>(kClassesRoot);
    setValue(std::string(text));
    m_classKey = static_cast<std::int32_t>(kLocalMachine);
    m_sectionKey = "SOFTWARE\\Classes\\" + section;
    setValue(std::string(text));
    m_sectionKey = section;
}

void cRegistry::CreateEXEAssociation(std::string_view sExePath, std::string_view sClassName,
                                     std::string_view sClassDescription,
                                     std::string_view sAssociation, std::string_view sOpenMenuText,
                                     bool bSupportPrint, std::string_view sPrintMenuText,
                                     bool bSupportNew, std::string_view sNewMenuText,
                                     bool bSupportInstall, std::string_view sInstallMenuText,
                                     std::int32_t lDefaultIconIndex)
{
    const auto exe = quotedPath(sExePath);
    const std::string className(sClassName);
    const std::string shell = className + "\\shell\\";
    const auto verb = [&](const char *name, std::string_view menuText, std::string fallback,
                          const char *switchText) {
        writeClassesValue(shell + name, orDefault(menuText, std::move(fallback)));
        writeClassesValue(shell + name + "\\command", exe + " " + switchText + "\"%1\"");
    };
    m_valueType = kString;
    m_valueKey.clear();
    writeClassesValue("." + std::string(sAssociation), className);
    writeClassesValue(className, sClassDescription);
    verb("open", sOpenMenuText, "&Open", "");
    if (bSupportPrint) {
        verb("print", sPrintMenuText, "&Print", "/p ");
    }
    if (bSupportInstall) {
        verb("add", sInstallMenuText, "&Install " + std::string(sAssociation), "/a ");
    }
    if (bSupportNew) {
        verb("new", sNewMenuText, "&New", "/n ");
    }
    if (lDefaultIconIndex > -1) {
        writeClassesValue(className + "\\DefaultIcon",
                          exe + "," + std::to_string(lDefaultIconIndex));
    }
}

void cRegistry::CreateAdditionalEXEAssociations(std::string_view sClassName,
                                                const std::vector<TaggedValue> &vItems)
{
    if (vItems.empty() || vItems.size() % 3 != 0) {
        raise(kInvalidItemList, "Invalid parameter list passed to CreateAdditionalEXEAssociations "
                                "- expected Name/Text/Command");
    }
    // The class is looked for where CreateEXEAssociation put it, whatever root the object
    // was last left at (that method leaves HKEY_LOCAL_MACHINE, where no class stands).
    const std::string className(sClassName);
    m_classKey = static_cast<std::int32_t>(kClassesRoot);
    m_sectionKey = className;
    if (!KeyExists()) {
        raise(kClassNotDefined,
              "Error - attempt to create additional associations before class defined.");
    }
    // A failed write does not stop the rest; the first failure is reported once all ran.
    std::optional<RegistryError> firstFailure;
    const auto write = [&](const std::string &section, const TaggedValue &text) {
        try {
            writeClassesValue(section, toText(text));
        } catch (const RegistryError &failure) {
            if (!firstFailure) {
                firstFailure = failure;
            }
        }
    };
    for (std::size_t index = 0; index + 2 < vItems.size(); index += 3) {
        const auto verbKey = className + "\\shell\\" + toText(vItems[index]);
        write(verbKey, vItems[index + 1]);
        write(verbKey + "\\command", vItems[index + 2]);
    }
    if (firstFailure) {
        throw *firstFailure;
    }
}

} // namespace tollen::registry
