// The per-user key-value store in the registry's shape: keys addressed by "\"-separated paths under a root,
// DWORD and string values, the default value with the empty name, key and value names compared without
// regard to case. Everything is kept in one XML file that each save replaces atomically.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace lf::reg
{

enum class Root
{
    CurrentUser,
    ClassesRoot,
    LocalMachine, // read-only and empty here: every read there fails, every write is refused
};

enum class ValueType
{
    None, // no such value (or no such key)
    DWord,
    String,
};

enum class LoadStatus
{
    Missing, // no file yet: an empty store
    Loaded,
    Corrupt, // unreadable or partly unreadable: what could not be read is empty
};

class RegistryStore
{
public:
    // The store kept in the given file, read once now.
    explicit RegistryStore(std::string filePath);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // The store file of the user: $LERNFOLD_CONFIG_DIR/registry.xml, else
    // $XDG_CONFIG_HOME/Korvanta/Lernfold/registry.xml, else ~/.config/Korvanta/Lernfold/registry.xml.
    // Empty when none of these can be worked out.
    static std::string DefaultFilePath();
    // The user's store; nullptr when its file cannot be placed.
    static std::unique_ptr<RegistryStore> OpenDefault();

    const std::string& FilePath() const { return m_filePath; }
    LoadStatus Status() const { return m_status; }

    bool KeyExists(Root root, const std::string& keyPath) const;
    // Opens the key with creation; false under the read-only root. Changes only memory until Save.
    bool CreateKey(Root root, const std::string& keyPath);

    ValueType GetValueType(Root root, const std::string& keyPath, const std::string& valueName) const;
    // True and the value when it exists with that type; out is untouched otherwise.
    bool ReadDWord(Root root, const std::string& keyPath, const std::string& valueName,
                   std::uint32_t& out) const;
    bool ReadString(Root root, const std::string& keyPath, const std::string& valueName,
                    std::string& out) const;

    // Creates the key when missing and sets the value, replacing one of either type. False under the
    // read-only root. Changes only memory until Save.
    bool WriteDWord(Root root, const std::string& keyPath, const std::string& valueName, std::uint32_t value);
    bool WriteString(Root root, const std::string& keyPath, const std::string& valueName,
                     const std::string& value);

    // Writes the store to its file when something changed since it was read or last saved: a temporary
    // file beside it, then a rename over it. An unreadable file is first copied aside (see KeptCorruptCopy),
    // so it is never lost. False when the file could not be written; the old file is then untouched.
    bool Save();
    // Where a copy of the unreadable file was kept before Save replaced it; empty when none was.
    const std::string& KeptCorruptCopy() const { return m_keptCorruptCopy; }

    struct Key;

private:
    // The top key of a root; nullptr for the read-only LocalMachine, which holds nothing here.
    Key* RootKey(Root root) const;
    Key* FindKey(Root root, const std::string& keyPath) const;
    Key* MakeKey(Root root, const std::string& keyPath);
    void Load();

    std::string m_filePath;
    LoadStatus m_status = LoadStatus::Missing;
    bool m_dirty = false;
    std::string m_keptCorruptCopy;
    std::unique_ptr<Key> m_currentUser;
    std::unique_ptr<Key> m_classesRoot;
};

} // namespace lf::reg
