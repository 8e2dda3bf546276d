#pragma once

#include "rename/BatchRename.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QSpinBox;

namespace zanto {

// 番号の付け方: where the batch's numbers start (開始番号) and how many digits
// they have at least (最小桁数, 「自動」: as many as the largest number has).
// 続きから continues a series already in the folder under the typed base
// name, whose files then keep their names until the start is changed. The
// values last while the window is open: a start number belongs to one
// series in one folder, and a stored one would renumber the next card wrongly.
class NumberingDialog final : public QDialog {
    Q_OBJECT
public:
    using SeriesLookup = std::function<std::optional<SeriesEnd>()>;

    NumberingDialog(const Numbering& current, SeriesLookup series, QWidget* parent);

    Numbering numbering() const;

private:
    void continueSeries();

    QSpinBox* m_start;
    QSpinBox* m_digits;
    SeriesLookup m_series;
    // The base of the series continued, while the start is the one 続きから gave.
    std::optional<std::string> m_continued;
};

} // namespace zanto
