#include "PreviewArea.h"

#include "preview/FileClass.h"
#include "preview/InfoText.h"
#include "preview/PictureKind.h"
#include "preview/PictureLoader.h"
#include "preview/TextPreview.h"
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

enum class Shown : unsigned char { Keep, Yes, No };
struct ViewRow {
    Shown image1, image2, mainText, label5, label6;
};
constexpr Shown K = Shown::Keep, Y = Shown::Yes, N = Shown::No;
// One row per view, in the order of PreviewArea::View.
constexpr ViewRow kViews[] = {
    //  picture  placeholder  text  information  notice
    {Y, N, N, N, N}, // Picture
    {N, N, Y, N, N}, // Text
    {N, Y, N, Y, N}, // Information
    {N, Y, N, Y, Y}, // TooLarge: the information with the notice
    {N, Y, N, N, N}, // Empty: nothing selected, or the settings' reset
    {K, K, K, N, N}, // NoMessages
    {K, K, K, N, K}, // NoInformation
    {K, Y, K, K, K}, // Placeholder
};

void apply(QWidget* control, Shown shown)
{
    if (shown != Shown::Keep)
        control->setVisible(shown == Shown::Yes);
}

} // namespace

PreviewArea::PreviewArea(const PreviewWidgets& widgets, FileSystem& fileSystem, PictureWorker::KeepAlive keepAlive)
    : m_widgets(widgets)
    , m_fileSystem(fileSystem)
    , m_worker(fileSystem, std::move(keepAlive))
    , m_prefetch(m_worker)
{
    m_widgets.image2->raise();
    m_widgets.image1->raise();
    m_widgets.mainText->raise();
    m_widgets.label5->raise();
    m_widgets.label6->raise();
}

void PreviewArea::show(View view)
{
    const ViewRow& row = kViews[static_cast<int>(view)];
    apply(m_widgets.image1, row.image1);
    apply(m_widgets.image2, row.image2);
    apply(m_widgets.mainText, row.mainText);
    apply(m_widgets.label5, row.label5);
    apply(m_widgets.label6, row.label6);
}

PreviewOutcome PreviewArea::preview(const std::string& path, const std::string& name)
{
    if (name.empty()) {
        show(View::Empty);
        return PreviewOutcome::Shown;
    }
    const std::string extension = extensionOf(name);
    switch (classifyFileName(name)) {
    case FileClass::NoExtension:
        return showFileFacts(path);
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
    if (classifyFileName(name) == FileClass::Picture && PictureKind::of(name)->prefetch == Prefetch::Yes)
        m_prefetch.start(path, pictureBox());
}

QSize PreviewArea::pictureBox() const
{
    return m_widgets.image1->size().isEmpty() ? PREVIEW_BOX : m_widgets.image1->size();
}

PreviewOutcome PreviewArea::showFileFacts(const std::string& path)
{
    return showInformation(path, {});
}

void PreviewArea::hideMessages()
{
    show(View::NoMessages);
}

void PreviewArea::hideInformation()
{
    show(View::NoInformation);
}

void PreviewArea::showPlaceholder()
{
    show(View::Placeholder);
}

void PreviewArea::clearPicture()
{
    m_widgets.image1->clear();
}

void PreviewArea::reset()
{
    show(View::Empty);
}

PreviewOutcome PreviewArea::showPicture(const std::string& path, const std::string& extension)
{
    const QSize box = pictureBox();
    LoadedPicture picture;
    if (std::optional<QImage> ready = m_prefetch.take(path, box))
        picture = {LoadedPicture::Status::Loaded, FsError::None, std::move(*ready)};
    else
        picture = m_worker.load(path, box);
    switch (picture.status) {
    case LoadedPicture::Status::Loaded:
        m_widgets.image1->setPixmap(QPixmap::fromImage(std::move(picture.image)));
        show(View::Picture);
        return PreviewOutcome::Shown;
    case LoadedPicture::Status::InvalidPicture:
        return PreviewOutcome::InvalidPicture;
    case LoadedPicture::Status::NotRegularFile:
    case LoadedPicture::Status::NoDecoder: // as a kind the preview does not know
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
        show(View::Text);
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
    if (tooLarge)
        m_widgets.label6->setText(TOO_LARGE_NOTICE.toString());
    m_widgets.label5->setText(infoText(extension, facts));
    show(tooLarge ? View::TooLarge : View::Information);
}

} // namespace zanto
