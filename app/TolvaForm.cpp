#include "TolvaForm.h"
#include "FixedLayout.h"

#include "NameBox.h"
#include "browse/DriveBox.h"
#include "browse/FileListBox.h"
#include "browse/FolderListBox.h"
#include "browse/ListBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace zanto {

namespace {

constexpr int kClientWidth = 7530;
constexpr int kClientHeight = 5775;
constexpr int kNameBoxLength = 100;

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                    int height)
{
    auto* widget = place(new QPushButton(caption, parent), name, left, top, width, height);
    widget->setAutoDefault(false);
    return widget;
}

QFont boldFont(const QFont& base, qreal points)
{
    QFont font = base;
    font.setBold(true);
    font.setPointSizeF(points);
    return font;
}

} // namespace

TolvaForm::TolvaForm(QMainWindow* mainWindow, FileSystem& fileSystem)
    : window(mainWindow)
    , client(new QWidget(mainWindow))
{
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips(kClientWidth), twips(kClientHeight));
    window->setCentralWidget(client);

    Frame1 = place(new QGroupBox(client), "Frame1", 6960, 1770, 435, 3000);
    cmdERASE = button(Frame1, "cmdERASE", QStringLiteral("×"), 0, 2040, 435, 975);
    cmdERASE->setToolTip(QStringLiteral("リストから除く"));
    cmdSITA = button(Frame1, "cmdSITA", QStringLiteral("↓"), 0, 1065, 435, 975);
    cmdSITA->setToolTip(QStringLiteral("下に移動"));
    cmdUE = button(Frame1, "cmdUE", QStringLiteral("↑"), 0, 90, 435, 975);
    cmdUE->setToolTip(QStringLiteral("上の移動"));

    txtRENAME = place(new NameBox(client), "txtRENAME", 5640, 4890, 1755, 330);
    txtRENAME->setMaxLength(kNameBoxLength);
    txtRENAME->setToolTip(QStringLiteral("「ファイル名＋連番＋拡張子」に変換します"));
    cmdOK = button(client, "cmdOK", QStringLiteral("変換"), 4740, 5310, 1755, 360);
    cmdCLEAR = button(client, "cmdCLEAR", QStringLiteral("Refresh"), 6480, 5310, 915, 360);
    List = place(new ListBox(client), "List", 4740, 1860, 2145, 2940);

    Text = place(new NameBox(client), "Text", 4740, 5310, 2655, 330);
    Text->setMaxLength(kNameBoxLength);
    Text->setReadOnly(true);
    Text->setEnabled(false);
    Text->hide();

    Drive = place(new DriveBox(client), "Drive", 4740, 30, 2655, 300);
    Dir = place(new FolderListBox(fileSystem, client), "Dir", 4740, 420, 2655, 1350);

    Picture1 = place(new QFrame(client), "Picture1", 75, 45, 4530, 5610);
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1->setAutoFillBackground(true);
    // Lowest first: the pictures lie under the text view and the messages.
    Image2 = label(Picture1, "Image2", {}, -30, -30, 4500, 5700);
    Image2->hide();
    Image1 = label(Picture1, "Image1", {}, -30, -30, 4680, 5700);
    Image1->setScaledContents(true);
    Image1->hide();
    mainTEXT = place(new QPlainTextEdit(Picture1), "mainTEXT", -10, -6, 4495, 5575);
    mainTEXT->setLineWrapMode(QPlainTextEdit::NoWrap);
    mainTEXT->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mainTEXT->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mainTEXT->setContextMenuPolicy(Qt::NoContextMenu);
    mainTEXT->setReadOnly(true);
    mainTEXT->hide();
    Label5 = label(Picture1, "Label5", {}, 75, 1650, 4365, 2745);
    Label5->setFont(boldFont(Label5->font(), 15.75));
    Label5->setWordWrap(true);
    Label5->hide();
    Label6 = label(Picture1, "Label6", {}, 60, 4500, 4425, 1185);
    Label6->setFont(boldFont(Label6->font(), 14.25));
    Label6->setWordWrap(true);
    Label6->setStyleSheet(QStringLiteral("color: red;"));
    Label6->hide();

    File = place(new FileListBox(fileSystem, client), "File", 4740, 1860, 2655, 2610);
    File->hide();
    cmd = button(client, "cmd", {}, 6390, 4020, 270, 270);
    cmd->hide();
    // It only carries Enter; the file list covers it.
    cmd->stackUnder(File);
    Label9 = label(client, "Label9", QStringLiteral("ファイル名："), 4740, 4980, 1035, 255);
    Label2 = label(client, "Label2", {}, 5100, 4950, 2280, 255);
    Label2->hide();
    Label4 = label(client, "Label4", QStringLiteral("新："), 4800, 4965, 315, 225);
    Label4->hide();
    Label1 = label(client, "Label1", {}, 5100, 4590, 2280, 255);
    Label1->hide();
    Label3 = label(client, "Label3", QStringLiteral("旧："), 4800, 4605, 315, 225);
    Label3->hide();
    fitLabelHeights(client);

    QMenuBar* bar = window->menuBar();
    SETEI = bar->addMenu(QStringLiteral("設定(&E)"));
    SETEI->setObjectName(QStringLiteral("SETEI"));
    see = SETEI->addAction(QStringLiteral("変更(&K)..."));
    see->setObjectName(QStringLiteral("see"));
    ETC = bar->addMenu(QStringLiteral("その他(&C)"));
    ETC->setObjectName(QStringLiteral("ETC"));
    UNDO = ETC->addAction(QStringLiteral("元に戻す(&U)..."));
    UNDO->setObjectName(QStringLiteral("UNDO"));
    VER = ETC->addAction(QStringLiteral("バージョン情報(&B)..."));
    VER->setObjectName(QStringLiteral("VER"));
    // Pop-up menus, not in the menu bar.
    SETEI2 = new QMenu(QStringLiteral("設定"), window);
    SETEI2->setObjectName(QStringLiteral("SETEI2"));
    GOMI = SETEI2->addAction(QStringLiteral("削除"));
    GOMI->setObjectName(QStringLiteral("GOMI"));
    ORDER_LINE = SETEI2->addSeparator();
    BYDATE = SETEI2->addAction(QStringLiteral("撮影日時順に並べる"));
    BYDATE->setObjectName(QStringLiteral("BYDATE"));
    BYNAME = SETEI2->addAction(QStringLiteral("名前順に並べる"));
    BYNAME->setObjectName(QStringLiteral("BYNAME"));
    CLOCKS = SETEI2->addAction(QStringLiteral("カメラの時計を合わせる(&K)..."));
    CLOCKS->setObjectName(QStringLiteral("CLOCKS"));
    SHOTS_LINE = SETEI2->addSeparator();
    NUMBERING = SETEI2->addAction(QStringLiteral("番号の付け方(&N)..."));
    NUMBERING->setObjectName(QStringLiteral("NUMBERING"));
    SHOTS = SETEI2->addAction(QStringLiteral("同じ名前のファイルに同じ番号を付ける"));
    SHOTS->setObjectName(QStringLiteral("SHOTS"));
    SHOTS->setCheckable(true);
    NEWNAMES = SETEI2->addAction(QStringLiteral("新しい名前の一覧(&L)..."));
    NEWNAMES->setObjectName(QStringLiteral("NEWNAMES"));
    SETEI3 = new QMenu(QStringLiteral("設定"), window);
    SETEI3->setObjectName(QStringLiteral("SETEI3"));
    NO = SETEI3->addAction(QStringLiteral("使えません"));
    NO->setObjectName(QStringLiteral("NO"));
    NO->setEnabled(false);

    // The design's tab order.
    m_tabOrder = {Drive, Dir, List, cmdUE, cmdSITA, cmdERASE, txtRENAME, cmdOK, cmdCLEAR, Frame1, cmd,
                  Picture1, File, mainTEXT, Text, Label3, Label1, Label4, Label2, Label5, Label6, Label9};
    Frame1->setFocusPolicy(Qt::NoFocus);
    // The preview area holds its place in the tab order, as a picture box does.
    Picture1->setFocusPolicy(Qt::TabFocus);
    applyTabOrder();
}

void TolvaForm::setTabPosition(QWidget* control, int position)
{
    const auto found = std::find(m_tabOrder.begin(), m_tabOrder.end(), control);
    if (found != m_tabOrder.end())
        m_tabOrder.erase(found);
    position = std::clamp(position, 0, static_cast<int>(m_tabOrder.size()));
    m_tabOrder.insert(m_tabOrder.begin() + position, control);
    applyTabOrder();
}

void TolvaForm::setDefaultButton(QPushButton* button)
{
    if (defaultButton != nullptr)
        defaultButton->setDefault(false);
    defaultButton = button;
    // Drawn as the default; Enter itself is routed by the window.
    button->setDefault(true);
}

void TolvaForm::lockNameBox()
{
    Text->setReadOnly(true);
    Text->setEnabled(false);
}

void TolvaForm::clearNamePanel()
{
    Text->clear();
    Label1->clear();
    Label2->clear();
    lockNameBox();
}

void TolvaForm::offerName(const QString& name)
{
    Text->setText(name);
    Text->setEnabled(true);
    Text->setReadOnly(false);
    Text->setFocus();
}

void TolvaForm::applyTabOrder()
{
    QWidget* previous = nullptr;
    for (QWidget* control : m_tabOrder) {
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous != nullptr)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

} // namespace zanto
