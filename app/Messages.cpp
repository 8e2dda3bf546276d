#include "Messages.h"

#include "rename/NameRules.h"
#include "ui/NativeName.h"

#include <QDir>

namespace zanto::messages {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

MessageRequest forbiddenName()
{
    return {fromUtf8(FORBIDDEN_MSG), MsgButtons::Ok, MsgIcon::None, MsgDefault::First, fromUtf8(FORBIDDEN_TITLE)};
}

MessageRequest deviceNotReady()
{
    return {QStringLiteral("デバイスが準備されていません"), MsgButtons::RetryCancel, MsgIcon::None,
            MsgDefault::First, {}};
}

MessageRequest unexpectedDriveError()
{
    MessageRequest request{QStringLiteral("予期しないエラーが発生したので強制終了します"), MsgButtons::Ok,
                           MsgIcon::None, MsgDefault::First, {}};
    request.programTitle = true;
    return request;
}

MessageRequest folderUnreadable(const QString& folder)
{
    return {QStringLiteral("フォルダーを開けませんでした。\r\n\r\n%1").arg(folder), MsgButtons::Ok, MsgIcon::None,
            MsgDefault::First, QStringLiteral("注意")};
}

MessageRequest pathUnusable(const QString& path)
{
    return {QStringLiteral("「%1」を開けませんでした。").arg(QDir::toNativeSeparators(path)), MsgButtons::Ok,
            MsgIcon::None, MsgDefault::First, QStringLiteral("注意")};
}

MessageRequest invalidPicture()
{
    return {QStringLiteral("ピクチャが不正です"), MsgButtons::Ok, MsgIcon::None, MsgDefault::First, {}};
}

MessageRequest fileMissing()
{
    return {QStringLiteral("ファイルがありません"), MsgButtons::Ok, MsgIcon::None, MsgDefault::First, {}};
}

MessageRequest confirmDelete()
{
    return {QStringLiteral("ごみ箱には入りません！！"), MsgButtons::OkCancel, MsgIcon::Exclamation,
            MsgDefault::Second, QStringLiteral("削除してもいいですか？")};
}

MessageRequest deleteFailed(const QString& file)
{
    return {QStringLiteral("「%1」を削除できませんでした。").arg(file), MsgButtons::Ok, MsgIcon::None,
            MsgDefault::First, QStringLiteral("注意")};
}

MessageRequest notice(std::string_view utf8Text, std::string_view utf8Title)
{
    return {fromUtf8(utf8Text), MsgButtons::Ok, MsgIcon::None, MsgDefault::First, fromUtf8(utf8Title)};
}

MessageRequest fileNotice(std::string_view utf8Text, std::string_view utf8Title, const std::vector<NoticeName>& names)
{
    MessageRequest request = notice(utf8Text, utf8Title);
    if (names.size() > NOTICE_NAME_LIMIT)
        request.details = fromUtf8(nameList(names));
    return request;
}

std::vector<NoticeName> noticeNames(const BatchPlan& plan, const std::vector<EntryState>& states,
                                    const std::vector<std::size_t>& positions)
{
    std::vector<NoticeName> names;
    names.reserve(positions.size());
    for (const std::size_t i : positions) {
        const BatchItem& item = plan.items[i];
        names.push_back({displayName(BatchReport::currentName(item, states[i])).toStdString(),
                         displayName(item.original).toStdString()});
    }
    return names;
}

} // namespace zanto::messages
