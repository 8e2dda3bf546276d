// The text view's decoding of any file's bytes (UTF-8, else Shift_JIS) and
// its line splitting.
#include "browse/TextPreview.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string_view>

using zanto::fuzz::require;

namespace {

QString crLfAsCr(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QString text = zanto::TextPreview::decode(bytes);

    require(text.isEmpty() || text.endsWith(u"\r\n"), "every line ends with CR LF");
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r')
            require(i + 1 < text.size() && text[i + 1] == u'\n', "no lone CR left");
    }

    // Valid UTF-8: the same characters, the line ends aside.
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    if (zanto::fuzz::isValidUtf8(raw)) {
        QString expected = crLfAsCr(QString::fromUtf8(raw)); // drops a leading BOM
        if (!expected.isEmpty() && !expected.endsWith(u'\r'))
            expected += u'\r';
        require(crLfAsCr(text) == expected, "UTF-8 text kept, one CR LF after each line");
    }
    return 0;
}
