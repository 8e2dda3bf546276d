#include "NumberingDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

namespace zanto {

namespace {

constexpr int kLargestStart = 999'999'999;
constexpr int kMostDigits = 9;

} // namespace

NumberingDialog::NumberingDialog(const Numbering& current, SeriesLookup series, QWidget* parent)
    : QDialog(parent)
    , m_start(new QSpinBox(this))
    , m_digits(new QSpinBox(this))
    , m_series(std::move(series))
    , m_continued(current.series)
{
    setObjectName(QStringLiteral("NumberingDialog"));
    setWindowTitle(QStringLiteral("番号の付け方"));
    m_start->setObjectName(QStringLiteral("start"));
    m_start->setRange(0, kLargestStart);
    m_start->setValue(static_cast<int>(current.start));
    m_digits->setObjectName(QStringLiteral("digits"));
    m_digits->setRange(0, kMostDigits);
    m_digits->setSpecialValueText(QStringLiteral("自動"));
    m_digits->setValue(static_cast<int>(current.minDigits));
    // A start chosen by hand numbers every entry again.
    connect(m_start, &QSpinBox::valueChanged, this, [this] { m_continued.reset(); });
    auto* continuing = new QPushButton(QStringLiteral("続きから"), this);
    continuing->setObjectName(QStringLiteral("continueSeries"));
    continuing->setAutoDefault(false);
    connect(continuing, &QPushButton::clicked, this, &NumberingDialog::continueSeries);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("開始番号"), m_start);
    form->addRow(QStringLiteral("最小桁数"), m_digits);
    form->addRow(QString(), continuing);
    form->addRow(buttons);
}

Numbering NumberingDialog::numbering() const
{
    return {static_cast<std::size_t>(m_start->value()), static_cast<std::size_t>(m_digits->value()), m_continued};
}

void NumberingDialog::continueSeries()
{
    const std::optional<SeriesEnd> end = m_series ? m_series() : std::nullopt;
    m_start->setValue(end ? static_cast<int>(std::min<std::size_t>(end->last + 1, kLargestStart)) : 1);
    // The series keeps its width: 旅行03 goes on with 旅行04.
    m_digits->setValue(end ? static_cast<int>(end->digits) : 0);
    m_continued = end ? std::optional(end->base) : std::nullopt;
}

} // namespace zanto
