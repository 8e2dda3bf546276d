#pragma once

#include "rename/BatchPlan.h"

#include <optional>
#include <string>
#include <vector>

namespace zanto {

// A batch's plan as written down before the first file moves: what each file
// was, is to be called on the way and in the end, and how to know it again
// (the folder's stamp and one stamp per item).
using Journal = BatchPlan;

// The journal's bytes. A line-based text:
//   ZANTO-JOURNAL 1
//   folder <stable> <device> <inode> <folder>
//   prefix <prefix>
//   items <count>
//   <inode> <size> <modified ns> <original> <temporary> <final>   (one line per item, on the folder's device)
//   end <FNV-1a 64 of every byte before this line, 16 hex digits>
// Names are bytes with space, '%', control bytes and DEL written as %XX, so
// any name, UTF-8 or not, comes back byte for byte.
std::string encodeJournal(const Journal& plan);

// None for anything torn, truncated, altered or of another format.
std::optional<Journal> decodeJournal(const std::string& bytes);

} // namespace zanto
