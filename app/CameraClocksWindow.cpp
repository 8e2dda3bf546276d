#include "CameraClocksWindow.h"

#include "CameraClocksModel.h"
#include "Messages.h"
#include "listing/ClockOffsetText.h"
#include "ui/NativeName.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zanto {

namespace {

constexpr QSize kInitialSize{860, 420};
constexpr int kCameraWidth = 220;
constexpr int kMomentWidth = 150;

// A label whose mnemonic goes to `field`.
QLabel* labelFor(const QString& text, QWidget* field)
{
    auto* label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    return label;
}

} // namespace

CameraClocksWindow::CameraClocksWindow(DateOrder order, QWidget* parent)
    : QDialog(parent)
    , m_model(new CameraClocksModel(std::move(order), this))
    , m_view(new QTableView(this))
    , m_offset(new QLineEdit(this))
    , m_mine(new QComboBox(this))
    , m_theirs(new QComboBox(this))
    , m_note(new QLabel(this))
{
    setObjectName(QStringLiteral("CameraClocksWindow"));
    setWindowTitle(QStringLiteral("カメラの時計"));
    auto* about = new QLabel(QStringLiteral("時計の合っていないカメラに補正を入れると、撮影日時順の並びに反映されます。"
                                            "ファイルには書き込みません。この画面を閉じると補正は消えます。"),
                             this);
    about->setWordWrap(true);

    m_view->setObjectName(QStringLiteral("Cameras"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->resizeSection(CameraClocksModel::Camera, kCameraWidth);
    m_view->horizontalHeader()->resizeSection(CameraClocksModel::First, kMomentWidth);
    m_view->horizontalHeader()->resizeSection(CameraClocksModel::Last, kMomentWidth);
    m_view->horizontalHeader()->setStretchLastSection(true);

    m_offset->setObjectName(QStringLiteral("Offset"));
    m_offset->setPlaceholderText(QStringLiteral("+00:03:12"));
    auto* set = new QPushButton(QStringLiteral("補正する(&S)"), this);
    set->setObjectName(QStringLiteral("SetOffset"));
    auto* typed = new QHBoxLayout;
    typed->addWidget(m_offset);
    typed->addWidget(set);

    m_mine->setObjectName(QStringLiteral("ThisFile"));
    m_theirs->setObjectName(QStringLiteral("OtherFile"));
    auto* match = new QPushButton(QStringLiteral("この2つを同じ時刻にする(&M)"), this);
    match->setObjectName(QStringLiteral("Match"));
    auto* form = new QFormLayout;
    form->addRow(labelFor(QStringLiteral("補正(&O):"), m_offset), typed);
    form->addRow(labelFor(QStringLiteral("このカメラのファイル(&F):"), m_mine), m_mine);
    form->addRow(labelFor(QStringLiteral("同じ瞬間の別のカメラのファイル(&G):"), m_theirs), m_theirs);
    form->addRow(QString(), match);
    m_note->setObjectName(QStringLiteral("Note"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("Close"));
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addWidget(m_view, 1);
    layout->addLayout(form);
    layout->addWidget(m_note);
    layout->addWidget(buttons);
    resize(kInitialSize);

    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { cameraChosen(); });
    connect(set, &QPushButton::clicked, this, &CameraClocksWindow::setTyped);
    connect(m_offset, &QLineEdit::returnPressed, this, &CameraClocksWindow::setTyped);
    connect(match, &QPushButton::clicked, this, &CameraClocksWindow::matchFiles);
    connect(m_model, &CameraClocksModel::offsetsChanged, this, &CameraClocksWindow::offsetsChanged);
    if (m_model->rowCount() > 0)
        m_view->selectRow(0);
}

CameraClocksWindow::~CameraClocksWindow() = default;

const DateOrder& CameraClocksWindow::order() const
{
    return m_model->order();
}

const ClockOffsets& CameraClocksWindow::offsets() const
{
    return m_model->offsets();
}

int CameraClocksWindow::chosenRow() const
{
    return m_view->currentIndex().isValid() ? m_view->currentIndex().row() : -1;
}

void CameraClocksWindow::cameraChosen()
{
    const int row = chosenRow();
    m_mine->clear();
    m_theirs->clear();
    m_mineNames.clear();
    m_theirNames.clear();
    m_note->clear();
    if (row < 0)
        return;
    m_offset->setText(QString::fromStdString(ClockOffsetText::of(m_model->offsetAt(row))));
    const TripCamera& camera = m_model->cameraAt(row);
    for (const std::string& name : order().namesOf(camera, offsets())) {
        m_mine->addItem(displayName(name));
        m_mineNames.push_back(name);
    }
    // The other cameras' files, each named with its camera and its time.
    for (int other = 0; other < m_model->rowCount(); ++other) {
        if (other == row)
            continue;
        const QString cameraName = messages::cameraName(m_model->cameraAt(other));
        for (const std::string& name : order().namesOf(m_model->cameraAt(other), offsets())) {
            const auto moment = order().momentOf(name, offsets());
            m_theirs->addItem(displayName(name) + QStringLiteral("（") + cameraName
                                  + (moment ? QStringLiteral("、") + messages::momentText(*moment) : QString())
                              + QStringLiteral("）"));
            m_theirNames.push_back(name);
        }
    }
}

void CameraClocksWindow::setTyped()
{
    // Typed on a Japanese keyboard, the digits and signs may be full-width.
    const QString typed = m_offset->text().normalized(QString::NormalizationForm_KC);
    const std::optional<std::int64_t> seconds = ClockOffsetText::parse(typed.toStdString());
    if (!seconds) {
        m_note->setText(QStringLiteral("補正は「+00:03:12」（時:分:秒）や「-9:00:00」のように入れてください。"));
        return;
    }
    m_note->clear();
    m_model->setOffset(chosenRow(), *seconds);
    m_offset->setText(QString::fromStdString(ClockOffsetText::of(*seconds)));
}

void CameraClocksWindow::matchFiles()
{
    const int row = chosenRow();
    if (row < 0 || m_mine->currentIndex() < 0 || m_theirs->currentIndex() < 0)
        return;
    const std::optional<std::int64_t> seconds =
        order().offsetToMatch(m_mineNames.at(static_cast<std::size_t>(m_mine->currentIndex())),
                              m_theirNames.at(static_cast<std::size_t>(m_theirs->currentIndex())), offsets());
    if (!seconds) {
        m_note->setText(QStringLiteral("撮影日時のわからないファイルでは合わせられません。"));
        return;
    }
    m_note->clear();
    m_model->setOffset(row, *seconds);
    m_offset->setText(QString::fromStdString(ClockOffsetText::of(*seconds)));
}

} // namespace zanto
