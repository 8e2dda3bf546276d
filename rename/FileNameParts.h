#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zanto {

// The extension of a file name: its last "." and everything after it, kept in
// the case it has ("photo.JPG" -> ".JPG", "x.tar.gz" -> ".gz"). A name without
// a dot, or ending in a dot, has none (""). Depends on the name alone, so a file
// never borrows another file's extension.
std::string extensionOf(const std::string& name);
// The same, as a view into `name`.
std::string_view extensionViewOf(std::string_view name);

// What two names are compared by when a name is asked whether it is taken:
// names with equal keys are one name to the user (NFC and NFD forms of
// "写真.jpg"). No key: the bytes.
using NameKey = std::function<std::string(const std::string& name)>;

// What a name is compared by when it is asked whether it is another's: its
// `key`, and besides in any ASCII case, since a card, Windows and a Mac take
// names that differ only in case for one, and folders travel.
std::string nameKeyOf(const NameKey& key, const std::string& name);

// The name without its extension ("a.b.txt" -> "a.b", "README" -> "README").
std::string stemOf(const std::string& name);

} // namespace zanto
