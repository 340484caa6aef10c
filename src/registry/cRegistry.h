#pragma once
// Registry access for the whole program.
//
// cRegistry is a small stateful object: a caller sets the address of a value through its
// properties (ClassKey, SectionKey, ValueKey, ValueType, Default) and then reads or writes the
// value, checks, creates or deletes the key, deletes the value, lists the key's values or
// subkeys, or registers a document type with the shell. It talks only to a RegistryStore (the
// eleven operations of the registry API with their result codes) and never keeps a key open
// between calls. Stores: MemoryStore (a writable tree that reads and writes .reg files, with
// named remote machines), HiveStore (an offline Windows hive, read-only) and, in the
// inventory folder, this machine's device tree. Failures are raised as RegistryError.

#include "core/TaggedValue.h"
#include "registry/RegistryStore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::registry {

class cRegistry
{
public:
    explicit cRegistry(RegistryStore &store);

    /// "" for the local registry, otherwise "\\" followed by the remote machine's name. A text
    /// shorter than 3 characters stores ""; a longer one gets "\\" put in front unless it
    /// already begins with it. Only Value and ValueEx use it.
    const std::string &Machine() const { return m_machine; }
    void setMachine(std::string_view sMachine);

    /// True when SectionKey opens under ClassKey for reading values.
    bool KeyExists() const;
    /// Creates SectionKey under ClassKey with every missing key along it (or opens it).
    bool CreateKey();
    /// Deletes the key SectionKey (it must have no subkeys).
    bool DeleteKey();
    /// Deletes the value ValueKey of SectionKey.
    bool DeleteValue();

    /// Reads ValueKey of SectionKey under ClassKey: text for types 1, 2 (expanded) and 7 (its
    /// strings with their NUL separators), a 32-bit integer for 4 and 5, a byte array for any
    /// other type; Default when the value cannot be read. A successful read sets ValueType.
    TaggedValue Value();
    /// Writes vValue as ValueType says; text writes choose REG_SZ or REG_EXPAND_SZ by content.
    void setValue(const TaggedValue &vValue);

    /// The value names of SectionKey in the store's order. Element i - 1 of sKeyNames holds the
    /// name numbered i; iKeyCount is the number of names. Always returns true.
    bool EnumerateValues(std::vector<std::string> &sKeyNames, std::int32_t &iKeyCount) const;
    /// The subkey names of SectionKey in the store's order, numbered like EnumerateValues.
    /// Listing stops at the first name that does not fit in 255 characters with its NUL.
    bool EnumerateSections(std::vector<std::string> &sSect, std::int32_t &iSectCount) const;

    /// Registers the extension sAssociation (without its dot) as the class sClassName with its
    /// shell verbs and icon, under HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
    void CreateEXEAssociation(std::string_view sExePath, std::string_view sClassName,
                              std::string_view sClassDescription, std::string_view sAssociation,
                              std::string_view sOpenMenuText, bool bSupportPrint,
                              std::string_view sPrintMenuText, bool bSupportNew,
                              std::string_view sNewMenuText, bool bSupportInstall,
                              std::string_view sInstallMenuText, std::int32_t lDefaultIconIndex);
    /// Adds shell verbs to a registered class: vItems holds Name, Text, Command triples.
    void CreateAdditionalEXEAssociations(std::string_view sClassName,
                                         const std::vector<TaggedValue> &vItems);

    std::int32_t ValueType() const { return m_valueType; }
    void setValueType(std::int32_t eValueType) { m_valueType = eValueType; }
    /// A predefined root such as kLocalMachine (0x80000002, written -2147483646).
    std::int32_t ClassKey() const { return m_classKey; }
    void setClassKey(std::int32_t eKey) { m_classKey = eKey; }
    const std::string &SectionKey() const { return m_sectionKey; }
    void setSectionKey(std::string_view sSectionKey) { m_sectionKey = sSectionKey; }
    const std::string &ValueKey() const { return m_valueKey; }
    void setValueKey(std::string_view sValueKey) { m_valueKey = sValueKey; }
    const TaggedValue &Default() const { return m_default; }
    void setDefault(const TaggedValue &vDefault) { m_default = vDefault; }

    /// Sets the five properties, in this order, then reads Value. They keep the new settings.
    TaggedValue ValueEx(std::int32_t eKey, std::string_view sSectionKey, std::string_view sValueKey,
                        std::int32_t eValueType, const TaggedValue &vDefault);
    /// Sets the five properties, then writes NewValue through setValue. With ValueType 1 and
    /// NewValue reading as "", NewValue is first replaced by Default (the caller's too).
    void setValueEx(std::int32_t eKey, std::string_view sSectionKey, std::string_view sValueKey,
                    std::int32_t eValueType, const TaggedValue &vDefault, TaggedValue &NewValue);

private:
    void writeClassesValue(const std::string &section, std::string_view text);
    [[noreturn]] void raise(std::int32_t number, std::string description) const;

    RegistryStore &m_store;
    std::int32_t m_classKey = 0;
    std::string m_sectionKey;
    std::string m_valueKey;
    TaggedValue m_default;
    std::int32_t m_valueType = 0;
    std::string m_machine;
};

} // namespace tollen::registry
