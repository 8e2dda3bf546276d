#pragma once

#include "rename/BatchReport.h"
#include "rename/BatchTexts.h"
#include "ui/Messenger.h"

#include <string>
#include <string_view>
#include <vector>

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
// A notice naming files: the first few in its text, every one in its details.
MessageRequest fileNotice(std::string_view utf8Text, std::string_view utf8Title, const std::vector<NoticeName>& names);

// The files at `positions` of a run, each where `states` puts it and under
// its name before the run, in display form.
std::vector<NoticeName> noticeNames(const BatchPlan& plan, const std::vector<EntryState>& states,
                                    const std::vector<std::size_t>& positions);

} // namespace zanto::messages
