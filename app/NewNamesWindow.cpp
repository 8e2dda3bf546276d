#include "NewNamesWindow.h"

#include "Messages.h"
#include "NewNamesModel.h"
#include "WaitCursor.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace zanto {

namespace {

constexpr int kNumberWidth = 64;
constexpr int kNameWidth = 240;
constexpr QSize kInitialSize{900, 560};

} // namespace

NewNamesWindow::NewNamesWindow(NewNameTable table, SameContentSearch search, QWidget* parent)
    : QDialog(parent)
    , m_search(std::move(search))
    , m_summary(new QLabel(this))
    , m_model(new NewNamesModel(std::move(table), this))
    , m_shown(new QSortFilterProxyModel(this))
    , m_view(new QTableView(this))
{
    setObjectName(QStringLiteral("NewNamesWindow"));
    setWindowTitle(QStringLiteral("新しい名前の一覧"));
    m_summary->setObjectName(QStringLiteral("Summary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setText(messages::newNamesSummary(m_model->table()));

    m_shown->setSourceModel(m_model);
    m_shown->setFilterRole(NewNamesModel::MarkedRole);
    m_shown->setFilterKeyColumn(NewNamesModel::Marks);
    m_view->setObjectName(QStringLiteral("Names"));
    m_view->setModel(m_shown);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setWordWrap(false);
    m_view->setTextElideMode(Qt::ElideMiddle);
    // Every row one line high, so that a run of 100,000 opens without
    // measuring a single row.
    QHeaderView* rows = m_view->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    rows->hide();
    QHeaderView* columns = m_view->horizontalHeader();
    columns->resizeSection(NewNamesModel::Number, kNumberWidth);
    columns->resizeSection(NewNamesModel::OldNames, kNameWidth);
    columns->resizeSection(NewNamesModel::NewNames, kNameWidth);
    columns->setStretchLastSection(true);

    auto* markedOnly = new QCheckBox(QStringLiteral("注意のある行だけ表示する(&M)"), this);
    markedOnly->setObjectName(QStringLiteral("MarkedOnly"));
    // The marked role reads "true" or "false" as text.
    connect(markedOnly, &QCheckBox::toggled, this, [this](bool on) {
        m_shown->setFilterFixedString(on ? QStringLiteral("true") : QString());
    });
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* same = buttons->addButton(QStringLiteral("同じ内容のファイルを探す(&S)"), QDialogButtonBox::ActionRole);
    same->setObjectName(QStringLiteral("SameContent"));
    same->setAutoDefault(false);
    connect(same, &QPushButton::clicked, this, [this, same] {
        findSameContent();
        same->setEnabled(false);
    });
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_view, 1);
    layout->addWidget(markedOnly);
    layout->addWidget(buttons);
    resize(kInitialSize);
}

NewNamesWindow::~NewNamesWindow() = default;

void NewNamesWindow::findSameContent()
{
    {
        WaitCursor waiting;
        m_model->mark(m_search);
    }
    m_summary->setText(messages::newNamesSummary(m_model->table()));
}

} // namespace zanto
