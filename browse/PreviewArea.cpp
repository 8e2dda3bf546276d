#include "PreviewArea.h"

#include "browse/FileClass.h"
#include "browse/InfoText.h"
#include "browse/PictureLoader.h"
#include "browse/TextPreview.h"
#include "rename/AsciiCase.h"
#include "rename/FileNameParts.h"

#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>

namespace zanto {

namespace {

PreviewOutcome outcomeOf(FsError error)
{
    return error == FsError::FileNotFound ? PreviewOutcome::FileNotFound : PreviewOutcome::Failed;
}

} // namespace

PreviewArea::PreviewArea(const PreviewWidgets& widgets, FileSystem& fileSystem)
    : m_widgets(widgets)
    , m_fileSystem(fileSystem)
    , m_prefetch(fileSystem)
{
    m_widgets.image2->raise();
    m_widgets.image1->raise();
    m_widgets.mainText->raise();
    m_widgets.label5->raise();
    m_widgets.label6->raise();
}

PreviewOutcome PreviewArea::preview(const std::string& path, const std::string& name)
{
    if (name.empty()) {
        showEmpty();
        return PreviewOutcome::Shown;
    }
    const std::string extension = extensionOf(name);
    switch (classifyFileName(name)) {
    case FileClass::NoExtension:
        return KOMA(path);
    case FileClass::Picture:
        return showPicture(path, extension);
    case FileClass::Text:
        return showText(path, extension);
    case FileClass::Other:
        return showInformation(path, extension);
    }
    return PreviewOutcome::Failed;
}

void PreviewArea::prefetch(const std::string& path, const std::string& name)
{
    // Metafiles are small and converted by a helper program: not worth a worker.
    const std::string extension = extensionOf(name);
    if (classifyFileName(name) == FileClass::Picture && !equalIgnoringAsciiCase(extension, ".emf")
        && !equalIgnoringAsciiCase(extension, ".wmf"))
        m_prefetch.start(path, pictureBox());
}

QSize PreviewArea::pictureBox() const
{
    return m_widgets.image1->size().isEmpty() ? PREVIEW_BOX : m_widgets.image1->size();
}

PreviewOutcome PreviewArea::KOMA(const std::string& path)
{
    return showInformation(path, {});
}

void PreviewArea::HIDEMSG()
{
    m_widgets.label5->setVisible(false);
    m_widgets.label6->setVisible(false);
}

void PreviewArea::showPlaceholder()
{
    m_widgets.image2->setVisible(true);
}

void PreviewArea::clearPicture()
{
    m_widgets.image1->clear();
}

void PreviewArea::reset()
{
    m_widgets.image2->setVisible(true);
    m_widgets.mainText->setVisible(false);
    m_widgets.image1->setVisible(false);
    HIDEMSG();
}

PreviewOutcome PreviewArea::showPicture(const std::string& path, const std::string& extension)
{
    const QSize box = pictureBox();
    LoadedPicture picture;
    if (std::optional<QImage> ready = m_prefetch.take(path, box))
        picture = {LoadedPicture::Status::Loaded, FsError::None, std::move(*ready)};
    else
        picture = PictureLoader::load(m_fileSystem, path, box);
    switch (picture.status) {
    case LoadedPicture::Status::Loaded:
        m_widgets.image1->setPixmap(QPixmap::fromImage(std::move(picture.image)));
        m_widgets.image1->setVisible(true);
        m_widgets.image2->setVisible(false);
        m_widgets.mainText->setVisible(false);
        HIDEMSG();
        return PreviewOutcome::Shown;
    case LoadedPicture::Status::InvalidPicture:
        return PreviewOutcome::InvalidPicture;
    case LoadedPicture::Status::NotRegularFile:
        return showInformation(path, extension);
    case LoadedPicture::Status::FileNotFound:
        return PreviewOutcome::FileNotFound;
    case LoadedPicture::Status::Failed:
        break;
    }
    return PreviewOutcome::Failed;
}

PreviewOutcome PreviewArea::showText(const std::string& path, const std::string& extension)
{
    const TextPreview text = TextPreview::read(m_fileSystem, path);
    switch (text.status) {
    case TextPreview::Status::Read:
        m_widgets.mainText->setPlainText(text.text);
        m_widgets.mainText->setVisible(true);
        m_widgets.image1->setVisible(false);
        m_widgets.image2->setVisible(false);
        HIDEMSG();
        return PreviewOutcome::Shown;
    case TextPreview::Status::TooLarge: {
        FileFacts facts;
        const FsError error = FileFacts::read(m_fileSystem, path, facts);
        if (error != FsError::None)
            return outcomeOf(error);
        showInformationView(extension, facts, true);
        return PreviewOutcome::Shown;
    }
    case TextPreview::Status::NotRegularFile:
        return showInformation(path, extension);
    case TextPreview::Status::Failed:
        return outcomeOf(text.error);
    }
    return PreviewOutcome::Failed;
}

PreviewOutcome PreviewArea::showInformation(const std::string& path, const std::string& extension)
{
    FileFacts facts;
    const FsError error = FileFacts::read(m_fileSystem, path, facts);
    if (error != FsError::None)
        return outcomeOf(error);
    showInformationView(extension, facts, false);
    return PreviewOutcome::Shown;
}

void PreviewArea::showInformationView(const std::string& extension, const FileFacts& facts, bool tooLarge)
{
    m_widgets.image2->setVisible(true);
    m_widgets.mainText->setVisible(false);
    m_widgets.image1->setVisible(false);
    if (tooLarge)
        m_widgets.label6->setText(TOO_LARGE_NOTICE.toString());
    m_widgets.label5->setText(infoText(extension, facts));
    m_widgets.label5->setVisible(true);
    m_widgets.label6->setVisible(tooLarge);
}

void PreviewArea::showEmpty()
{
    m_widgets.image2->setVisible(true);
    m_widgets.image1->setVisible(false);
    m_widgets.mainText->setVisible(false);
    HIDEMSG();
}

} // namespace zanto
