#pragma once

#include <QByteArrayView>
#include <QString>
#include <string>

namespace zanto {

// File names travel through the program as the platform's native bytes, so
// that a name that is not valid UTF-8 (an old archive's Shift_JIS name) still
// reaches the right file. These convert at the edge of the widgets.

// Readable text for a native name: UTF-8 when it is valid UTF-8, else the
// bytes decoded as Shift_JIS (CP932), else Latin-1.
QString displayName(const std::string& native);

// The text of bytes from outside: UTF-8 when they are valid UTF-8, else
// Shift_JIS (CP932); when `strict`, only Shift_JIS without errors, else Latin-1.
QString decodeJapanese(QByteArrayView bytes, bool strict);

// Native bytes for a name or path the user typed.
std::string nativeName(const QString& text);

// The name as the user reads it, in one Unicode form (NFC): a name written
// on a Mac (NFD) and the same name typed here get the same key.
std::string unicodeKey(const std::string& native);

// The name as a folder that ignores letter case sees it (a card, Windows, a
// Mac): unicodeKey's form with every letter case-folded, full-width and
// accented ones too.
std::string caseFoldedKey(const std::string& native);

// A native path as text for the settings file, and back, byte for byte: the
// readable text where it converts back to the same bytes, else the marker
// "zanto-bytes:" and every byte as %XX (no absolute path starts so).
QString storablePath(const std::string& native);
std::string pathFromStorable(const QString& stored);

} // namespace zanto
