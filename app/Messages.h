#pragma once

#include "ui/Messenger.h"

#include <string>
#include <string_view>

namespace zanto::messages {

// The main window's message boxes, each with its text, buttons, icon,
// default button and title.
MessageRequest forbiddenName();
MessageRequest deviceNotReady();
MessageRequest unexpectedDriveError();
MessageRequest folderUnreadable(const QString& folder);
MessageRequest pathUnusable(const QString& path);
MessageRequest invalidPicture();
MessageRequest fileMissing();
MessageRequest confirmDelete();
MessageRequest deleteFailed(const QString& file);
// A plain notice: OK only, no icon.
MessageRequest notice(std::string_view utf8Text, std::string_view utf8Title = {});

} // namespace zanto::messages
