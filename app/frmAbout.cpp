#include "frmAbout.h"
#include "FixedLayout.h"
#include "HelpBrowser.h"
#include "Localization.h"

#include "rename/PathRule.h"
#include "ui/ShellOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

namespace zanto {

namespace {

constexpr int kClientWidth = 5730;
constexpr int kClientHeight = 3735;

const QString kHelpFile = QStringLiteral("readme.html");
const QString kWebAddress = QStringLiteral("https://github.com/zanto-renamer/zanto");

} // namespace

frmAbout::frmAbout(ShellOpener& opener, QWidget* parent)
    : QDialog(parent)
    , m_opener(opener)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setModal(true);
    setFont(windowFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(twips(kClientWidth), twips(kClientHeight));

    m_cmdOK = place(new QPushButton(QStringLiteral("OK"), this), "cmdOK", 4050, 3255, 1470, 345);
    m_cmdOK->setDefault(true);
    m_CmdOPEN = place(new QPushButton(QStringLiteral("ヘルプ"), this), "CmdOPEN", 2490, 3255, 1470, 345);

    auto* picture = label(this, "Picture1", QString(), 240, 240, 1050, 1050);
    picture->setPixmap(QPixmap(QStringLiteral(":/zanto/zanto-70.png")));

    auto* frame1 = place(new QGroupBox(this), "Frame1", 210, 1845, 5310, 1230);
    // The team name and the mail address are wider than their narrow slots;
    // each label grows to its text so that nothing is cut off.
    auto* author = label(frame1, "Label2", QStringLiteral("ZANTO 開発チーム"), 315, 300, 555, 270);
    auto* mail = label(frame1, "Label3", QStringLiteral("zanto-renamer@users.noreply.github.com"), 510, 555, 2055, 195);
    for (QLabel* grown : {author, mail})
        grown->resize(std::max(grown->width(), grown->sizeHint().width()), grown->height());
    m_Label4 = label(frame1, "Label4", kWebAddress, 525, 810, 4545, 210);
    m_Label4->setCursor(Qt::PointingHandCursor);
    m_Label4->installEventFilter(this);

    auto* latinName = label(this, "Label5", QStringLiteral("Zanto"), 2970, 1290, 2160, 555);
    QFont mincho = windowFont(QStringLiteral("ＭＳ Ｐ明朝"), 27.75);
    mincho.setBold(true);
    latinName->setFont(mincho);

    label(this, "Label1", QStringLiteral("Ver " ZANTO_VERSION), 2475, 945, 1095, 315);
    label(this, "lblDescription", QStringLiteral("ファイル名を一括で変更します"), 420, 1530, 2415, 315);
    label(this, "lblTitle", QStringLiteral("ZANTO"), 1410, 315, 3780, 390);

    fitLabelHeights(this);

    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_CmdOPEN, &QPushButton::clicked, this, &frmAbout::CmdOPEN_Click);

    setTabOrder(m_cmdOK, m_CmdOPEN);
    m_cmdOK->setFocus();
}

QString frmAbout::helpFilePath(const QString& programFolder)
{
    const QByteArray folder = QFile::encodeName(QDir::toNativeSeparators(programFolder));
    return QFile::decodeName(QByteArray::fromStdString(joinPath(folder.toStdString(), kHelpFile.toStdString())));
}

void frmAbout::CmdOPEN_Click()
{
    // A desktop that cannot open the page (no browser, no desktop tools)
    // would leave the button doing nothing visible.
    m_opener.openPath(helpFilePath(QCoreApplication::applicationDirPath()), [about = QPointer<frmAbout>(this)] {
        if (about)
            about->showHelpInside();
    });
}

void frmAbout::showHelpInside()
{
    auto* help = new HelpBrowser(this);
    help->setAttribute(Qt::WA_DeleteOnClose);
    help->open();
}

void frmAbout::Label4_Click()
{
    m_opener.openAddress(m_Label4->text());
}

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    // OK is the default button, not a cancel button: Escape closes nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    // A click: the left button released over the label it was pressed on.
    if (watched == m_Label4 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_Label4->rect().contains(mouse->position().toPoint())) {
            Label4_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zanto
