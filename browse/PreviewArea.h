#pragma once

#include "preview/PicturePrefetch.h"
#include "preview/PictureWorker.h"
#include "rename/FileSystem.h"

#include <string>

class QLabel;
class QPlainTextEdit;

namespace zanto {

struct FileFacts;

// The five preview controls; the main window creates and owns them.
struct PreviewWidgets {
    QLabel* image1;           // picture view, scaled contents
    QLabel* image2;           // blank placeholder
    QPlainTextEdit* mainText; // text view
    QLabel* label5;           // information text
    QLabel* label6;           // notice, red
};

// How a preview ended; the window shows the messages and refreshes the list.
enum class PreviewOutcome {
    Shown,          // one of the four views, or the empty area
    InvalidPicture, // nothing changed; the window tells, then showPlaceholder()
    FileNotFound,   // nothing changed; the window tells and refreshes the list
    Failed,         // dropped: the area keeps what it had
};

// Drives the preview controls through their four views (picture, text, too
// large, information). A view shows exactly its own controls; hidden ones keep
// their content. The controls are stacked so that a picture shown stays in
// front of the placeholder, and the text view and messages in front of both.
class PreviewArea {
public:
    // `keepAlive` handles the window's events, user input excluded, while a
    // picture is waited for.
    PreviewArea(const PreviewWidgets& widgets, FileSystem& fileSystem, PictureWorker::KeepAlive keepAlive = {});

    // Previews the file `name` at `path` by its ending. An empty name (nothing
    // selected) shows the empty area. FIFOs and devices get the information
    // view and are never opened.
    PreviewOutcome preview(const std::string& path, const std::string& name);

    // Decodes the picture file `name` at `path` ahead, for a later preview()
    // of it; other kinds of file are left alone.
    void prefetch(const std::string& path, const std::string& name);

    // The information view for `path` as a file without extension.
    PreviewOutcome showFileFacts(const std::string& path);

    // Hides both message labels.
    void hideMessages();
    // Hides the information text alone.
    void hideInformation();

    // The blank placeholder made visible; nothing else changes.
    void showPlaceholder();

    // Image1's picture set to none; its visibility is kept.
    void clearPicture();

    // The settings dialog's reset: placeholder shown, text and picture views
    // hidden, both messages hidden.
    void reset();

private:
    // Which controls each view shows, hides or leaves as they are.
    enum class View { Picture, Text, Information, TooLarge, Empty, NoMessages, NoInformation, Placeholder };
    void show(View view);

    PreviewOutcome showPicture(const std::string& path, const std::string& extension);
    PreviewOutcome showText(const std::string& path, const std::string& extension);
    PreviewOutcome showInformation(const std::string& path, const std::string& extension);
    void showInformationView(const std::string& extension, const FileFacts& facts, bool tooLarge);
    QSize pictureBox() const;

    // Owned by the window, which outlives this object.
    PreviewWidgets m_widgets;
    FileSystem& m_fileSystem;
    PictureWorker m_worker;
    PicturePrefetch m_prefetch;
};

} // namespace zanto
