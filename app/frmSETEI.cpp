#include "frmSETEI.h"
#include "FixedLayout.h"
#include "Localization.h"

#include "app/ProgramSettings.h"
#include "app/ProgramValues.h"
#include "app/SettingsHost.h"
#include "app/VorisCodec.h"
#include "ui/Messenger.h"

#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <string>
#include <vector>

namespace zanto {

namespace {

constexpr int kClientWidth = 4335;
constexpr int kClientHeight = 3870;
constexpr int kExtensionLength = 5;

const QString kCautionTitle = QStringLiteral("注意");
const QString kHalfWidthOnly = QStringLiteral("半角英数字を記入してください");
static_assert(VorisCodec::kMaxEntries == 101, "the message names the bound");
const QString kListFull = QStringLiteral("拡張子は101個まで登録できます");
const QString kFirstRunPattern = QStringLiteral("*.jpg"); // preset of the first dialog
const QString kNoPattern = QStringLiteral("*.a");         // applied in place of an empty list

// What the extension box takes: lower-case letters, digits, "*", and the
// control codes 8 (Backspace) and 16.
bool isAllowedText(const QString& text)
{
    for (const QChar c : text) {
        const bool allowed = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'*' || c == u'\b'
                             || c == u'\x10';
        if (!allowed)
            return false;
    }
    return true;
}

// A key the extension box refuses. Enter presses the default button and Tab
// moves on before a character is typed; keys that type nothing (arrows,
// Delete) are the box's own. Escape and Ctrl with a letter type control codes
// (Ctrl+V is code 22) and are refused like any other character.
bool isRefusedKey(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    case Qt::Key_Escape:
        return true;
    default:
        break;
    }
    if (key.modifiers().testFlag(Qt::ControlModifier) && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return true;
    return !isAllowedText(key.text());
}

} // namespace

frmSETEI::frmSETEI(ProgramValues& values, ProgramSettings& settings, Messenger& messenger, SettingsHost& host,
                   QWidget* parent)
    : QDialog(parent)
    , m_values(values)
    , m_settings(settings)
    , m_messenger(messenger)
    , m_host(host)
{
    setObjectName(QStringLiteral("frmSETEI"));
    setWindowTitle(QStringLiteral("設定"));
    setModal(true);
    setFont(windowFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(twips(kClientWidth), twips(kClientHeight));

    auto* frame2 = place(new QGroupBox(QStringLiteral("変換方法"), this), "Frame2", 240, 90, 3855, 735);
    // The option array Option(0), Option(1) as plain names, usable in selectors and style sheets.
    m_Option0 = place(new QRadioButton(QStringLiteral("単純名前変換"), frame2), "Option0", 390, 240, 1545, 375);
    m_Option1 = place(new QRadioButton(QStringLiteral("連続名前変換"), frame2), "Option1", 2130, 240, 1545, 375);
    m_Option0->setChecked(true);

    auto* frame1 = place(new QGroupBox(QStringLiteral("表示する拡張子"), this), "Frame1", 240, 990, 3855, 2220);
    m_List1 = place(new QListWidget(frame1), "List1", 255, 405, 1560, 1635);
    m_List1->setSelectionMode(QAbstractItemView::SingleSelection);

    m_Text1 = place(new QLineEdit(frame1), "Text1", 2070, 525, 1500, 375);
    m_Text1->setMaxLength(kExtensionLength);
    m_Text1->setToolTip(QStringLiteral("拡張子のみ記入してください"));
    // The key filter sees typed characters only: no input method composes
    // into the box. Text pasted from the box's menu or dropped on it passes
    // the same rule, with the same notice.
    m_Text1->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_Text1->installEventFilter(this);
    connect(m_Text1, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!isAllowedText(text))
            refuseText1();
    });

    m_Command1 = place(new QPushButton(QStringLiteral("追加　"), frame1), "Command1", 2055, 1050, 1500, 375);
    m_Command1->setDefault(true);
    m_Command2 = place(new QPushButton(QStringLiteral("削除"), frame1), "Command2", 2040, 1590, 1500, 375);
    m_Command3 = place(new QPushButton(QStringLiteral("メインへ"), this), "Command3", 240, 3330, 3855, 465);

    connect(m_Command1, &QPushButton::clicked, this, &frmSETEI::Command1_Click);
    connect(m_Command2, &QPushButton::clicked, this, &frmSETEI::Command2_Click);
    connect(m_Command3, &QPushButton::clicked, this, &frmSETEI::Command3_Click);

    setTabOrder(m_Option0, m_Option1);
    setTabOrder(m_Option1, m_List1);
    setTabOrder(m_List1, m_Text1);
    setTabOrder(m_Text1, m_Command1);
    setTabOrder(m_Command1, m_Command2);
    setTabOrder(m_Command2, m_Command3);
    m_Text1->setFocus();

    Form_Load();
}

void frmSETEI::Form_Load()
{
    if (m_values.NOW_MODE.isSimple())
        m_Option0->setChecked(true);
    else if (m_values.NOW_MODE.isContinuous())
        m_Option1->setChecked(true);
}

void frmSETEI::addPattern(const QString& pattern)
{
    if (static_cast<std::size_t>(m_List1->count()) < VorisCodec::kMaxEntries)
        m_List1->addItem(pattern);
}

void frmSETEI::openFromMenu(ProgramValues& values, ProgramSettings& settings, Messenger& messenger, SettingsHost& host,
                            QWidget* parent)
{
    values.EXT_LIST = settings.patterns();
    frmSETEI dialog(values, settings, messenger, host, parent);
    for (const QString& pattern : splitStored(values.EXT_LIST))
        dialog.addPattern(pattern);
    // The list now lives in the dialog; the dialog rebuilds EXT_LIST as it closes.
    values.EXT_LIST.clear();
    dialog.exec();
}

void frmSETEI::openAtFirstRun(ProgramValues& values, ProgramSettings& settings, Messenger& messenger,
                              SettingsHost& host, QWidget* parent)
{
    frmSETEI dialog(values, settings, messenger, host, parent);
    dialog.addPattern(kFirstRunPattern);
    dialog.exec();
}

QStringList frmSETEI::splitStored(const QString& stored)
{
    QStringList patterns;
    for (const std::string& entry : VorisCodec::split(stored.toStdString()))
        patterns.append(QString::fromStdString(entry));
    return patterns;
}

QString frmSETEI::joinPatterns(const QStringList& patterns)
{
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(patterns.size()));
    for (const QString& pattern : patterns)
        entries.push_back(pattern.toStdString());
    return QString::fromStdString(VorisCodec::join(entries));
}

QStringList frmSETEI::patterns() const
{
    QStringList result;
    for (int i = 0; i < m_List1->count(); ++i)
        result.append(m_List1->item(i)->text());
    return result;
}

void frmSETEI::caution(const QString& text)
{
    MessageRequest request;
    request.text = text;
    request.buttons = MsgButtons::Ok;
    request.icon = MsgIcon::None;
    request.title = kCautionTitle;
    m_messenger.show(this, request);
}

bool frmSETEI::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_Text1) {
        if (event->type() == QEvent::KeyPress)
            return Text1_KeyPress(*static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::InputMethod
            && !isAllowedText(static_cast<QInputMethodEvent*>(event)->commitString())) {
            refuseText1();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// True when the key is refused and must not reach the box.
bool frmSETEI::Text1_KeyPress(const QKeyEvent& key)
{
    if (!isRefusedKey(key))
        return false;
    refuseText1();
    return true;
}

void frmSETEI::refuseText1()
{
    caution(kHalfWidthOnly);
    m_Text1->clear();
}

void frmSETEI::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close the dialog: it closes by メインへ or its close box.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmSETEI::Command1_Click()
{
    if (m_Text1->text().isEmpty())
        return;
    const QString candidate = QStringLiteral("*.") + m_Text1->text();
    if (!patterns().contains(candidate)) {
        // The stored form carries a bounded number of entries; refuse more
        // rather than lose the extra ones when the dialog stores its list.
        if (static_cast<std::size_t>(m_List1->count()) >= VorisCodec::kMaxEntries)
            caution(kListFull);
        else
            m_List1->addItem(candidate);
    }
    m_Text1->clear();
}

void frmSETEI::Command2_Click()
{
    const QList<QListWidgetItem*> selected = m_List1->selectedItems();
    if (selected.isEmpty())
        return;
    delete selected.first();
    // As after any removal, nothing stays selected.
    m_List1->clearSelection();
    m_List1->setCurrentItem(nullptr);
}

void frmSETEI::Command3_Click()
{
    if (m_Option0->isChecked())
        m_host.TANJUN();
    else
        m_host.RENZOKU();

    m_values.OLD_MODE = m_settings.mode();

    const QStringList list = patterns();
    const QString joined = joinPatterns(list);
    if (list.isEmpty())
        m_host.setFilePattern(kNoPattern);

    m_values.EXT_LIST = m_settings.patterns();
    if (m_values.EXT_LIST != joined) {
        // An empty list shows no files: the stand-in pattern, never the empty text.
        m_host.applyFilterChange(joined.isEmpty() ? kNoPattern : joined);
    }
    m_filterApplied = true;

    accept();
}

void frmSETEI::done(int result)
{
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
    QDialog::done(result);
}

void frmSETEI::Form_Unload()
{
    const QString shown = m_settings.patterns();
    VANTO();
    if (m_values.NOW_MODE != m_values.OLD_MODE)
        m_host.applyModeChange();
    const bool changed = m_values.EXT_LIST != shown;
    if (m_values.EXT_LIST.isEmpty())
        m_values.EXT_LIST = kNoPattern;
    // Closed by its close box after a change of the list: the lists follow
    // the new filter as メインへ makes them, so that 変換 never renames a file
    // the filter no longer shows.
    if (changed && !m_filterApplied)
        m_host.applyFilterChange(m_values.EXT_LIST);
    else
        m_host.setFilePattern(m_values.EXT_LIST);
}

void frmSETEI::VANTO()
{
    m_values.EXT_LIST = joinPatterns(patterns());
    m_settings.storePatterns(m_values.EXT_LIST);
    m_settings.storeMode(m_values.NOW_MODE);
}

} // namespace zanto
