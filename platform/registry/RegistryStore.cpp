// The per-user key-value store and its XML file:
//   <registry>
//     <root name="HKEY_CURRENT_USER">
//       <key name="Software"> <key name="..."> <value name="X" type="dword" data="12"/> ... </key> </key>
//     </root>
//   </registry>
#include "platform/registry/RegistryStore.h"

#include "platform/sys/AtomicFile.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/TextCase.h"

#include <cstdlib>
#include <filesystem>
#include <pugixml.hpp>
#include <vector>

namespace lf::reg
{

namespace fs = std::filesystem;

namespace
{

// Keys nest at most this deep, as in the Windows registry whose shape the store keeps. Reading, writing
// and freeing keys recurse once per level, so a file nesting deeper is damaged (and copied aside before
// it is replaced), and a path deeper than this is refused.
constexpr std::size_t kMaxKeyDepth = 512;

constexpr const char* kCurrentUserName = "HKEY_CURRENT_USER";
constexpr const char* kClassesRootName = "HKEY_CLASSES_ROOT";

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// The path's key names: "\" separates them; empty names (leading, trailing or doubled "\") are skipped.
std::vector<std::string> SplitKeyPath(const std::string& keyPath)
{
    std::vector<std::string> names;
    std::string::size_type start = 0;
    while (start <= keyPath.size())
    {
        auto end = keyPath.find('\\', start);
        if (end == std::string::npos)
            end = keyPath.size();
        if (end > start)
            names.push_back(keyPath.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

} // namespace

struct RegistryStore::Key
{
    struct Value
    {
        std::string name;
        ValueType type = ValueType::None;
        std::uint32_t dword = 0;
        std::string text;
    };

    std::string name;
    std::map<std::string, std::unique_ptr<Key>> subkeys; // by folded name
    std::map<std::string, Value> values;                 // by folded name
};

namespace
{

// Key and value names are compared without regard to case, as their folded forms.
std::string FoldName(const std::string& name)
{
    return lf::sys::FoldCase(name);
}

} // namespace

RegistryStore::RegistryStore(std::string filePath)
    : m_filePath(std::move(filePath)), m_currentUser(std::make_unique<Key>()),
      m_classesRoot(std::make_unique<Key>())
{
    Load();
}

RegistryStore::~RegistryStore() = default;

std::string RegistryStore::DefaultFilePath()
{
    const std::string own = Env("LERNFOLD_CONFIG_DIR");
    if (!own.empty())
        return (fs::path(own) / "registry.xml").string();
    std::string configHome = Env("XDG_CONFIG_HOME");
    if (configHome.empty() || configHome.front() != '/') // only an absolute path counts
    {
        const std::string home = Env("HOME");
        if (home.empty())
            return {};
        configHome = (fs::path(home) / ".config").string();
    }
    return (fs::path(configHome) / "Korvanta" / "Lernfold" / "registry.xml").string();
}

std::unique_ptr<RegistryStore> RegistryStore::OpenDefault()
{
    std::string path = DefaultFilePath();
    if (path.empty())
        return nullptr;
    return std::make_unique<RegistryStore>(std::move(path));
}

void RegistryStore::Load()
{
    std::error_code ec;
    if (!fs::exists(m_filePath, ec))
    {
        m_status = LoadStatus::Missing;
        return;
    }
    std::string bytes;
    pugi::xml_document doc;
    if (!lf::sys::ReadWholeFile(m_filePath, bytes) ||
        !doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8) ||
        !doc.child("registry"))
    {
        m_status = LoadStatus::Corrupt;
        return;
    }

    bool damaged = false;
    // Reads one key element into key; elements that make no sense are skipped and mark the file damaged.
    auto readKey = [&damaged](auto& self, const pugi::xml_node node, Key& key, std::size_t depth) -> void
    {
        for (const pugi::xml_node child : node.children())
        {
            if (child.type() != pugi::node_element)
                continue;
            const std::string childName = child.attribute("name").as_string();
            if (std::string(child.name()) == "key" && !childName.empty())
            {
                if (depth >= kMaxKeyDepth)
                {
                    damaged = true;
                    continue;
                }
                auto& sub = key.subkeys[FoldName(childName)];
                if (!sub)
                {
                    sub = std::make_unique<Key>();
                    sub->name = childName;
                }
                self(self, child, *sub, depth + 1);
            }
            else if (std::string(child.name()) == "value" && child.attribute("name"))
            {
                Key::Value value;
                value.name = childName;
                const std::string type = child.attribute("type").as_string();
                const std::string data = child.attribute("data").as_string();
                if (type == "string")
                {
                    value.type = ValueType::String;
                    value.text = data;
                }
                else if (type == "dword")
                {
                    if (!lf::sys::ReadNumber(data, value.dword))
                    {
                        damaged = true;
                        continue;
                    }
                    value.type = ValueType::DWord;
                }
                else
                {
                    damaged = true;
                    continue;
                }
                key.values[FoldName(value.name)] = std::move(value);
            }
            else
                damaged = true;
        }
    };

    for (const pugi::xml_node root : doc.child("registry").children("root"))
    {
        const std::string name = root.attribute("name").as_string();
        if (name == kCurrentUserName)
            readKey(readKey, root, *m_currentUser, 0);
        else if (name == kClassesRootName)
            readKey(readKey, root, *m_classesRoot, 0);
        else
            damaged = true;
    }
    m_status = damaged ? LoadStatus::Corrupt : LoadStatus::Loaded;
}

RegistryStore::Key* RegistryStore::RootKey(Root root) const
{
    switch (root)
    {
    case Root::CurrentUser:
        return m_currentUser.get();
    case Root::ClassesRoot:
        return m_classesRoot.get();
    case Root::LocalMachine:
        break;
    }
    return nullptr;
}

RegistryStore::Key* RegistryStore::FindKey(Root root, const std::string& keyPath) const
{
    Key* key = RootKey(root);
    if (!key)
        return nullptr;
    for (const std::string& name : SplitKeyPath(keyPath))
    {
        const auto found = key->subkeys.find(FoldName(name));
        if (found == key->subkeys.end())
            return nullptr;
        key = found->second.get();
    }
    return key;
}

RegistryStore::Key* RegistryStore::MakeKey(Root root, const std::string& keyPath)
{
    Key* key = RootKey(root);
    if (!key)
        return nullptr;
    const std::vector<std::string> names = SplitKeyPath(keyPath);
    if (names.size() > kMaxKeyDepth)
        return nullptr;
    for (const std::string& name : names)
    {
        auto& sub = key->subkeys[FoldName(name)];
        if (!sub)
        {
            sub = std::make_unique<Key>();
            sub->name = name;
            m_dirty = true;
        }
        key = sub.get();
    }
    return key;
}

bool RegistryStore::KeyExists(Root root, const std::string& keyPath) const
{
    return FindKey(root, keyPath) != nullptr;
}

bool RegistryStore::CreateKey(Root root, const std::string& keyPath)
{
    return MakeKey(root, keyPath) != nullptr;
}

namespace
{

// The stored value of that name in the key; nullptr when there is no key or no such value.
const RegistryStore::Key::Value* FindValueIn(const RegistryStore::Key* key, const std::string& valueName)
{
    if (key == nullptr)
        return nullptr;
    const auto found = key->values.find(FoldName(valueName));
    return found == key->values.end() ? nullptr : &found->second;
}

} // namespace

ValueType RegistryStore::GetValueType(Root root, const std::string& keyPath,
                                      const std::string& valueName) const
{
    const Key::Value* value = FindValueIn(FindKey(root, keyPath), valueName);
    return value ? value->type : ValueType::None;
}

bool RegistryStore::ReadDWord(Root root, const std::string& keyPath, const std::string& valueName,
                              std::uint32_t& out) const
{
    const Key::Value* value = FindValueIn(FindKey(root, keyPath), valueName);
    if (value == nullptr || value->type != ValueType::DWord)
        return false;
    out = value->dword;
    return true;
}

bool RegistryStore::ReadString(Root root, const std::string& keyPath, const std::string& valueName,
                               std::string& out) const
{
    const Key::Value* value = FindValueIn(FindKey(root, keyPath), valueName);
    if (value == nullptr || value->type != ValueType::String)
        return false;
    out = value->text;
    return true;
}

bool RegistryStore::WriteDWord(Root root, const std::string& keyPath, const std::string& valueName,
                               std::uint32_t value)
{
    Key* key = MakeKey(root, keyPath);
    if (key == nullptr)
        return false;
    Key::Value& stored = key->values[FoldName(valueName)];
    if (stored.type == ValueType::DWord && stored.dword == value)
        return true;
    // A value that exists keeps the spelling of its name.
    stored =
        Key::Value{stored.type == ValueType::None ? valueName : stored.name, ValueType::DWord, value, {}};
    m_dirty = true;
    return true;
}

bool RegistryStore::WriteString(Root root, const std::string& keyPath, const std::string& valueName,
                                const std::string& value)
{
    Key* key = MakeKey(root, keyPath);
    if (key == nullptr)
        return false;
    Key::Value& stored = key->values[FoldName(valueName)];
    if (stored.type == ValueType::String && stored.text == value)
        return true;
    stored =
        Key::Value{stored.type == ValueType::None ? valueName : stored.name, ValueType::String, 0, value};
    m_dirty = true;
    return true;
}

namespace
{

// Writes the key's values, then its subkeys, in the order of their folded names.
void WriteKey(pugi::xml_node node, const RegistryStore::Key& key)
{
    for (const auto& [folded, value] : key.values)
    {
        pugi::xml_node element = node.append_child("value");
        element.append_attribute("name").set_value(value.name.c_str());
        if (value.type == ValueType::DWord)
        {
            element.append_attribute("type").set_value("dword");
            element.append_attribute("data").set_value(lf::sys::NumberText(value.dword).c_str());
        }
        else
        {
            element.append_attribute("type").set_value("string");
            element.append_attribute("data").set_value(value.text.c_str());
        }
    }
    for (const auto& [folded, sub] : key.subkeys)
    {
        pugi::xml_node element = node.append_child("key");
        element.append_attribute("name").set_value(sub->name.c_str());
        WriteKey(element, *sub);
    }
}

// Collects the document's bytes, so the whole text exists before anything is written.
class StringWriter : public pugi::xml_writer
{
public:
    void write(const void* data, size_t size) override { bytes.append(static_cast<const char*>(data), size); }
    std::string bytes;
};

// A free name beside the file for keeping an unreadable copy: "registry.xml.corrupt", then "...corrupt-2".
std::string FreeCorruptName(const std::string& filePath)
{
    std::error_code ec;
    std::string candidate = filePath + ".corrupt";
    for (int n = 2; fs::exists(candidate, ec); ++n)
    {
        candidate = filePath + ".corrupt-" + lf::sys::NumberText(n);
    }
    return candidate;
}

} // namespace

bool RegistryStore::Save()
{
    if (!m_dirty)
        return true;

    pugi::xml_document doc;
    pugi::xml_node registry = doc.append_child("registry");
    const std::pair<const char*, const Key*> roots[] = {{kCurrentUserName, m_currentUser.get()},
                                                        {kClassesRootName, m_classesRoot.get()}};
    for (const auto& [name, key] : roots)
    {
        pugi::xml_node root = registry.append_child("root");
        root.append_attribute("name").set_value(name);
        WriteKey(root, *key);
    }

    const fs::path target(m_filePath);
    std::error_code ec;
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ec);

    StringWriter writer;
    doc.save(writer, "\t", pugi::format_default, pugi::encoding_utf8);

    if (m_status == LoadStatus::Corrupt && m_keptCorruptCopy.empty() && fs::exists(target, ec))
    {
        const std::string aside = FreeCorruptName(m_filePath);
        fs::copy_file(target, aside, fs::copy_options::none, ec);
        if (ec)
            return false; // never replace the unreadable file without its copy aside
        m_keptCorruptCopy = aside;
    }

    if (!lf::sys::WriteFileAtomically(m_filePath, writer.bytes))
        return false;
    m_dirty = false;
    if (m_status != LoadStatus::Corrupt)
        m_status = LoadStatus::Loaded;
    return true;
}

} // namespace lf::reg
