#pragma once

#include <QString>

namespace zanto {

// The rename mode as the settings file stores it: "1" continuous, "0"
// simple. A text of another kind, written by hand, is kept as it was, so that
// storing the mode writes it back unchanged until a layout is chosen.
class Mode {
public:
    Mode() = default;
    static Mode continuous() { return Mode(QStringLiteral("1")); }
    static Mode simple() { return Mode(QStringLiteral("0")); }
    static Mode fromStored(const QString& text) { return Mode(text); }

    const QString& stored() const { return m_text; }
    // Exactly "0": the simple layout, its keys and its preview.
    bool isSimple() const { return m_text == QLatin1String("0"); }
    // Exactly "1": the rename list's own keys and reloads.
    bool isContinuous() const { return m_text == QLatin1String("1"); }
    // Any number but zero: what the settings dialog lays out as continuous.
    bool isContinuousLayout() const { return m_text.toInt() != 0; }

    bool operator==(const Mode& other) const = default;

private:
    explicit Mode(QString text) : m_text(std::move(text)) {}
    QString m_text;
};

} // namespace zanto
