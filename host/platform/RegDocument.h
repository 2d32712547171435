#pragma once
// The contents of a registry file in memory: keys by their full path
// ("HKEY_CURRENT_USER\Software\Brightfold\Veltrace"), each with its values. Names of keys and
// values compare without regard to case, as the registry compares them; the spelling a name
// was first given is the one kept and written back. Keys and values remember the order they
// were added in, so a file read and written again keeps its order.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vtcad::platform {

// Registry value types (the numbers hex(N) carries in the file).
enum RegType : std::uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
  kRegQword = 11,
};

struct RegValue {
  enum class Kind { kString, kDword, kRaw };
  std::wstring name;  // empty: the key's default value, written "@"
  Kind kind = Kind::kString;
  std::wstring text;        // kString
  std::uint32_t dword = 0;  // kDword
  std::wstring raw;         // kRaw: the data after '=' as written, its lines joined by '\n'
  bool operator==(const RegValue&) const = default;
};

struct RegKeyContents {
  std::wstring path;
  std::vector<RegValue> values;
  bool operator==(const RegKeyContents&) const = default;
};

class RegDocument {
 public:
  // A key path is valid when it has a root (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
  // HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_CURRENT_CONFIG) and no empty part, and holds no
  // control character (the file could not carry it). A value name holds no control character
  // other than a tab.
  static bool isValidKeyPath(std::wstring_view path);
  static bool isValidValueName(std::wstring_view name);
  // Whether two names are the same for the registry.
  static bool sameName(std::wstring_view a, std::wstring_view b);

  // Whether the key is there: written itself, or implied by a key below it (as the registry
  // has every parent of a key). A root alone exists only with something under it.
  bool hasKey(std::wstring_view path) const;
  // Adds the key (nothing when it is there; the first spelling stays). Returns whether it was
  // added.
  bool addKey(std::wstring_view path);
  // Removes the key and every key below it. Returns whether anything was removed.
  bool removeKeyTree(std::wstring_view path);

  const RegValue* findValue(std::wstring_view key, std::wstring_view name) const;
  // Sets the value, adding the key when needed. A value already there keeps its place and the
  // spelling of its name.
  void setValue(std::wstring_view key, RegValue value);
  bool removeValue(std::wstring_view key, std::wstring_view name);

  // The names of the keys right below `key` (also those only implied by deeper keys), and of
  // its values, in the order they were added.
  std::vector<std::wstring> subkeyNames(std::wstring_view key) const;
  std::vector<std::wstring> valueNames(std::wstring_view key) const;

  // Every written key with its values, in the order they were added.
  std::vector<RegKeyContents> contents() const;
  bool empty() const { return keys_.empty(); }

 private:
  struct ValueEntry {
    RegValue value;
    std::uint64_t order = 0;
  };
  struct KeyEntry {
    std::wstring path;
    std::uint64_t order = 0;
    std::map<std::wstring, ValueEntry> values;  // by folded name
  };
  std::map<std::wstring, KeyEntry> keys_;  // by folded path: a key's descendants follow it
  std::uint64_t nextOrder_ = 0;
};

}  // namespace vtcad::platform
