#include "Messages.h"

#include "listing/TripCamera.h"
#include "rename/NewNameTable.h"
#include "rename/PathRule.h"
#include "rename/SingleRename.h"
#include "ui/NativeName.h"

#include <QDir>

#include <cerrno>

#include <algorithm>

namespace zanto::messages {

namespace {

// How many names a notice lists before it only counts the rest (all of them
// stand in the notice's details).
constexpr std::size_t NOTICE_NAME_LIMIT = 5;

QString noticeTitle()
{
    return QStringLiteral("ファイル名変更");
}

QString stopTitle()
{
    return QStringLiteral("エラー");
}

QString undoTitle()
{
    return QStringLiteral("元に戻す");
}

// "「name」" in display form.
QString quoted(const std::string& native)
{
    return QStringLiteral("「") + displayName(native) + QStringLiteral("」");
}

QString nameLine(const NoticeName& name)
{
    QString line = QStringLiteral("「") + name.now + QStringLiteral("」");
    if (name.original != name.now)
        line += QStringLiteral("（元の名前「") + name.original + QStringLiteral("」）");
    return line;
}

// "「a」\r\n「b」" for the first names, then how many more there are.
QString nameLines(const std::vector<NoticeName>& names)
{
    const std::size_t shown = std::min(names.size(), NOTICE_NAME_LIMIT);
    QString lines;
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0)
            lines += QStringLiteral("\r\n");
        lines += nameLine(names[i]);
    }
    if (names.size() > shown)
        lines += QStringLiteral("\r\nほか") + QString::number(names.size() - shown) + QStringLiteral("個");
    return lines;
}

// Names that kept their own: each stands for itself.
std::vector<NoticeName> plainNames(const std::vector<std::string>& natives)
{
    std::vector<NoticeName> names;
    for (const std::string& native : natives)
        names.push_back({displayName(native), displayName(native)});
    return names;
}

// Every name of a notice, one a line, for its details.
QString nameList(const std::vector<NoticeName>& names)
{
    QString lines;
    for (const NoticeName& name : names)
        lines += nameLine(name) + u'\n';
    return lines;
}

// A plain notice: OK only, no icon.
MessageRequest notice(const QString& text, const QString& title = {})
{
    return {text, MsgButtons::Ok, MsgIcon::None, MsgDefault::First, title};
}

// A notice naming files: their number, `afterCount`, then the first few of
// them; the details hold every one.
MessageRequest fileNotice(const QString& afterCount, const QString& title, const std::vector<NoticeName>& names)
{
    MessageRequest request = notice(QString::number(names.size()) + afterCount + nameLines(names), title);
    if (names.size() > NOTICE_NAME_LIMIT)
        request.details = nameList(names);
    return request;
}

// Why a file of a folder could not be renamed, as far as the error tells.
QString failureText(FsError error)
{
    switch (error) {
    case FsError::PathFileAccess:
        return QStringLiteral("書き込みが許可されていないか、読み取り専用です");
    case FsError::DiskFull:
        return QStringLiteral("ディスクに空きがありません");
    case FsError::PathNotFound:
        return QStringLiteral("フォルダーが見つかりません");
    case FsError::DeviceUnavailable:
    case FsError::DiskNotReady:
        return QStringLiteral("ドライブの準備ができていません");
    default:
        break;
    }
    return QStringLiteral("このファイルシステムでは使えない名前です");
}

// Why a file of the program could not be written, in the user's words.
QString reasonText(std::error_code reason)
{
    switch (reason.value()) {
    case ENOSPC:
        return QStringLiteral("ディスクに空きがありません");
    case EDQUOT:
        return QStringLiteral("使えるディスク容量を超えています");
    case EACCES:
    case EPERM:
        return QStringLiteral("書き込みが許可されていません");
    case EROFS:
        return QStringLiteral("読み取り専用です");
    case ENOENT:
        return QStringLiteral("フォルダーが見つかりません");
    case ENOTDIR:
        return QStringLiteral("フォルダーの代わりにファイルがあります");
    case ENAMETOOLONG:
    case ELOOP:
        return QStringLiteral("名前が長すぎるか、リンクが多すぎます");
    case EIO:
        return QStringLiteral("ディスクの読み書きに失敗しました");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます");
    case ENOMEM:
        return QStringLiteral("メモリーが足りません");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます");
    case ENOLCK:
    case EINVAL:
    case EOPNOTSUPP:
        return QStringLiteral("このファイルシステムでは記録を書けません");
    default:
        break;
    }
    // Never the C library's English: the number still tells the rare case apart.
    return QStringLiteral("予期しないエラーです（番号 %1）").arg(reason.value());
}

} // namespace

MessageRequest forbiddenName()
{
    return {QStringLiteral("ファイル名に \\ / : , ; * ? \" < > . | は使用できません"), MsgButtons::Ok, MsgIcon::None,
            MsgDefault::First, QStringLiteral("注意")};
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

MessageRequest confirmDelete(const std::vector<std::string>& files)
{
    MessageRequest request{QStringLiteral("ごみ箱には入りません！！"), MsgButtons::OkCancel, MsgIcon::Exclamation,
                           MsgDefault::Second, QStringLiteral("削除してもいいですか？")};
    if (files.size() > 1)
        request.details = nameList(plainNames(files));
    return request;
}

MessageRequest deleteFailed(const QString& file)
{
    return {QStringLiteral("「%1」を削除できませんでした。").arg(file), MsgButtons::Ok, MsgIcon::None,
            MsgDefault::First, QStringLiteral("注意")};
}

MessageRequest singleRenameFailed(SingleOutcome outcome)
{
    switch (outcome) {
    case SingleOutcome::Done:
        break;
    case SingleOutcome::NotFound:
        return notice(QStringLiteral("フォルダーが存在しないので処理できませんでした。"));
    case SingleOutcome::AccessRefused:
        return notice(QStringLiteral("エラーによって処理できませんでした。"));
    case SingleOutcome::NameTaken:
        return notice(QStringLiteral("既に同じ名前が存在しています。"));
    case SingleOutcome::Other:
    case SingleOutcome::Stranded:
    case SingleOutcome::NoSafeRename:
        return notice(QStringLiteral("名前を変更できませんでした。"));
    }
    return notice({});
}

MessageRequest shotSplit(const std::vector<std::string>& left)
{
    return fileNotice(QStringLiteral("個のファイルは同じ組のファイルと一緒に名前を変更できなかったので、元の名前のまま残しました。\r\n\r\n"),
                      {}, plainNames(left));
}

MessageRequest stranded(const std::string& name, const std::string& original)
{
    return notice(QStringLiteral("名前を変更できませんでした。\r\n\r\nファイル") + quoted(original) + QStringLiteral("は")
                  + quoted(name) + QStringLiteral("の名前で残っています。"));
}

MessageRequest confirmBatch(const std::string& base)
{
    const QString first = base.empty()
        ? QStringLiteral("「連番＋拡張子」に変換します.")
        : QStringLiteral("「") + displayName(base) + QStringLiteral("＋連番＋拡張子」に変換します.");
    return {first + QStringLiteral("\r\n\r\n実行してもいいですか？"), MsgButtons::OkCancel, MsgIcon::Question,
            MsgDefault::Second, QStringLiteral("ファイル名変更")};
}

QString newNamesButton()
{
    return QStringLiteral("新しい名前の一覧(&L)...");
}

MessageRequest dropEntry(const std::string& entry)
{
    return {quoted(entry) + QStringLiteral("が削除されています.\r\n\r\nリストから") + quoted(entry)
                + QStringLiteral("を外しますか？"),
            MsgButtons::OkCancel, MsgIcon::Critical, MsgDefault::First, QStringLiteral("名前変更")};
}

std::optional<MessageRequest> planRefused(const BatchPlan& plan)
{
    switch (plan.status) {
    case PlanStatus::Ready:
        break;
    case PlanStatus::NameTooLong:
        return notice(quoted(plan.tooLongName)
                          + QStringLiteral("は長すぎてファイル名にできません.\r\n\r\nファイル名変換を中止します"),
                      noticeTitle());
    case PlanStatus::NameUnwritable:
        return MessageRequest{quoted(plan.folder) + QStringLiteral("には") + quoted(plan.unwritableName)
                                  + QStringLiteral("のような名前を付けられません（") + failureText(plan.listError)
                                  + QStringLiteral("）.\r\n\r\nファイル名変換を中止します"),
                              MsgButtons::Ok, MsgIcon::Critical, MsgDefault::First, stopTitle()};
    case PlanStatus::FolderUnreadable:
        return folderUnreadable(displayName(plan.folder));
    }
    return std::nullopt;
}

MessageRequest clashesAhead(const std::vector<NameClash>& clashes)
{
    QString lines;
    QString all;
    for (std::size_t i = 0; i < clashes.size(); ++i) {
        const QString line = quoted(clashes[i].original) + QStringLiteral("→") + quoted(clashes[i].final);
        if (i < NOTICE_NAME_LIMIT)
            lines += QStringLiteral("\r\n") + line;
        all += line + u'\n';
    }
    if (clashes.size() > NOTICE_NAME_LIMIT)
        lines += QStringLiteral("\r\nほか") + QString::number(clashes.size() - NOTICE_NAME_LIMIT) + QStringLiteral("個");
    MessageRequest request{QString::number(clashes.size())
                               + QStringLiteral("個のファイルの新しい名前は、ほかのファイルが既に使っています.\r\n")
                               + lines + QStringLiteral("\r\n\r\nこのまま続けますか？"),
                           MsgButtons::YesNo, MsgIcon::Exclamation, MsgDefault::Second, noticeTitle()};
    if (clashes.size() > NOTICE_NAME_LIMIT)
        request.details = all;
    return request;
}

MessageRequest leftOut(const std::vector<std::string>& entries, bool shots)
{
    return fileNotice(shots ? QStringLiteral("組のファイルは新しい名前のどれかがほかのファイルに使われているので、"
                                             "元の名前のまま残しました.\r\n\r\n")
                            : QStringLiteral("個のファイルは新しい名前がほかのファイルに使われているので、"
                                             "元の名前のまま残しました.\r\n\r\n"),
                      noticeTitle(), plainNames(entries));
}

QString keepsItsName(const std::string& entry)
{
    return displayName(entry) + QStringLiteral(" → そのまま（この番号の続きから付けます）");
}

MessageRequest journalUnwritable(const std::string& folder, std::error_code reason)
{
    return {QStringLiteral("変換の記録を書き込めませんでした.\r\n\r\n") + quoted(folder) + QStringLiteral("に書き込めません（")
                + reasonText(reason) + QStringLiteral("）.\r\n\r\nファイル名変換を中止します"),
            MsgButtons::Ok, MsgIcon::Critical, MsgDefault::First, stopTitle()};
}

QString noSafeRenameText(const std::string& folder, const std::string& fileSystem)
{
    return quoted(folder) + QStringLiteral("のファイルシステム（") + QString::fromStdString(fileSystem)
        + QStringLiteral("）は、ほかのファイルを上書きしないように名前を変える方法を持たないので、名前を変更できません");
}

MessageRequest noSafeRename(const std::string& folder, const std::string& fileSystem)
{
    return notice(noSafeRenameText(folder, fileSystem) + QStringLiteral("。"));
}

MessageRequest batchStopped(const BatchPlan& plan, const BatchReport& report, const std::string& fileSystem)
{
    QString text = QStringLiteral("エラーが発生しました.\r\n\r\nファイル名変換を中止します");
    if (report.error() == FsError::NoSafeRename)
        text += QStringLiteral("\r\n\r\n") + noSafeRenameText(plan.folder, fileSystem) + u'.';
    if (const auto& lost = report.lost()) {
        // The file was `from` (called `original` before the run) on its way to `to`.
        const QString from = displayName(lost->from);
        const QString original = displayName(plan.items[lost->position].original);
        text += QStringLiteral("\r\n\r\n「") + from + QStringLiteral("」を") + quoted(lost->to)
            + QStringLiteral("に変更できず、ファイルが見つからなくなりました");
        if (original != from)
            text += QStringLiteral("（元の名前「") + original + QStringLiteral("」）");
        text += u'.';
    }
    return {text, MsgButtons::Ok, MsgIcon::Critical, MsgDefault::First, stopTitle()};
}

QString checkCaption(std::size_t remaining)
{
    return QStringLiteral("ファイルチェック中--残り") + QString::number(remaining) + QStringLiteral("個");
}

QString readingCaption(const std::string& folder, std::size_t position)
{
    const bool root = !folder.empty() && folder.back() == kPathSeparator;
    return (root ? QStringLiteral("ファイル読み取り中--") : QStringLiteral("ファイル読み取り中"))
        + QString::number(position) + QStringLiteral("個");
}

QString convertingCaption(std::size_t remaining)
{
    return QStringLiteral("変換中--残り") + QString::number(remaining) + QStringLiteral("個");
}

QString batchEndCaption()
{
    return QStringLiteral("ZANTO_ [連続モード]");
}

MessageRequest notRenamed(const std::vector<NoticeName>& names)
{
    return fileNotice(QStringLiteral("個のファイルは新しい名前に変換できませんでした.\r\n\r\n"), noticeTitle(), names);
}

MessageRequest notRestored(const std::vector<NoticeName>& names)
{
    return fileNotice(QStringLiteral("個のファイルを元の名前に戻せませんでした.\r\n\r\n"), noticeTitle(), names);
}

MessageRequest confirmUndo(const std::string& folder)
{
    return {quoted(folder) + QStringLiteral("の直前の連続変換を元に戻します.\r\n\r\n実行してもいいですか？"),
            MsgButtons::OkCancel, MsgIcon::Question, MsgDefault::Second, undoTitle()};
}

MessageRequest leftAlone(const std::vector<NoticeName>& names)
{
    return fileNotice(QStringLiteral("個のファイルは変換後に変更されたので元に戻しませんでした.\r\n\r\n"), undoTitle(),
                      names);
}

MessageRequest originalTaken(const std::vector<NoticeName>& names)
{
    return fileNotice(QStringLiteral("個のファイルは元の名前がほかのファイルに使われているので元に戻しませんでした.\r\n"
                                     "その名前を空けると、もう一度元に戻せます.\r\n\r\n"),
                      undoTitle(), names);
}

MessageRequest undoNotRestored(const std::vector<NoticeName>& names)
{
    return fileNotice(QStringLiteral("個のファイルを元の名前に戻せませんでした.\r\n\r\n"), undoTitle(), names);
}

MessageRequest recoveryQuestion(const std::string& folder, bool undo)
{
    const QString text = undo
        ? quoted(folder) + QStringLiteral("での「元に戻す」は途中で終わりました.\r\n\r\n「元に戻す」の前のファイル名に戻しますか？")
        : quoted(folder) + QStringLiteral("での前回の連続変換は途中で終わりました.\r\n\r\n元のファイル名に戻しますか？");
    return {text, MsgButtons::YesNoCancel, MsgIcon::Question, MsgDefault::First, noticeTitle()};
}

MessageRequest journalDamaged(const std::string& path)
{
    return notice(QStringLiteral("前回の連続変換の記録が壊れているので使えません.\r\n\r\n記録は") + quoted(path)
                      + QStringLiteral("に移しました"),
                  noticeTitle());
}

MessageRequest recoveryPostponed(const std::string& folder, std::optional<FsError> reason)
{
    const QString why = reason ? failureText(*reason) : QStringLiteral("変換の記録を書き込めません");
    return notice(quoted(folder) + QStringLiteral("のファイル名の変更を終えられませんでした（") + why
                      + QStringLiteral("）.\r\n\r\n次回の起動時にもう一度お尋ねします"),
                  noticeTitle());
}

MessageRequest recoveryFolderMissing(const std::string& folder)
{
    return notice(QStringLiteral("前回の連続変換のフォルダー") + quoted(folder)
                      + QStringLiteral("が見つかりません.\r\n\r\n元に戻すかどうかは次回の起動時にお尋ねします"),
                  noticeTitle());
}

std::vector<NoticeName> noticeNames(const BatchPlan& plan, const std::vector<EntryState>& states,
                                    const std::vector<std::size_t>& positions)
{
    std::vector<NoticeName> names;
    names.reserve(positions.size());
    for (const std::size_t i : positions) {
        const BatchItem& item = plan.items[i];
        names.push_back({displayName(BatchReport::currentName(item, states[i])), displayName(item.original)});
    }
    return names;
}

QString newNamesSummary(const NewNameTable& table)
{
    const QString files = QString::number(table.files) + QStringLiteral("個のファイル");
    QString text;
    if (table.files == 0) {
        text = QStringLiteral("名前の変わるファイルはありません.");
    } else {
        const auto moving = std::count_if(table.rows.begin(), table.rows.end(),
                                          [](const NewNameRow& row) { return !row.marks.has(NameMark::LeftOut); });
        const QString count = table.shots ? QString::number(moving) + QStringLiteral("組（") + files + u'）' : files;
        const QString base = displayName(table.base);
        text = count + QStringLiteral("に「") + base + QString::fromStdString(table.firstNumber)
            + QStringLiteral("」から「") + base + QString::fromStdString(table.lastNumber)
            + QStringLiteral("」までの番号を付けます. 番号は") + QString::number(table.lastNumber.size())
            + QStringLiteral("桁です.");
        if (table.narrowerDigits != 0)
            text += QStringLiteral("\nフォルダーにある")
                + (base.isEmpty() ? QStringLiteral("番号だけの名前") : QStringLiteral("「") + base + QStringLiteral("」"))
                + QStringLiteral("の番号は") + QString::number(table.narrowerDigits)
                + QStringLiteral("桁なので、桁が増えて名前順が番号順と合わなくなります.");
    }
    text += table.markedRows == 0 ? QStringLiteral("\n注意のある行はありません.")
                                  : QStringLiteral("\n注意のある行が") + QString::number(table.markedRows)
            + QStringLiteral("行あります.");
    return text;
}

QStringList markReasons(const NewNameRow& row, bool shots)
{
    QStringList reasons;
    const QString holder = quoted(row.holder);
    const NameMarks marks = row.marks;
    if (marks.has(NameMark::HeldExactly))
        reasons << holder
                       + (marks.has(NameMark::LeftOut)
                              ? QStringLiteral("はほかのファイルが使っています.")
                              : QStringLiteral("はほかのファイルが使っているので、一時的な名前のまま残ります."));
    if (marks.has(NameMark::HeldInOtherCase))
        reasons << QStringLiteral("大文字・小文字だけ違う") + holder + QStringLiteral("が既にあります.");
    if (marks.has(NameMark::HeldInOtherForm))
        reasons << QStringLiteral("文字の表し方（Unicode の正規化）だけ違う") + holder + QStringLiteral("が既にあります.");
    if (marks.has(NameMark::LeftOut))
        reasons << (shots ? QStringLiteral("この組のファイルはすべて元の名前のまま残ります.")
                          : QStringLiteral("元の名前のまま残ります."));
    if (marks.has(NameMark::ReservedOnWindows))
        reasons << QStringLiteral("Windows では機器の名前（CON、NUL、COM1 など）なので使えません.");
    if (marks.has(NameMark::TrailingDotOrSpace))
        reasons << QStringLiteral("末尾の「.」や空白は、Windows では消えるか開けなくなります.");
    if (marks.has(NameMark::TooManyBytes))
        reasons << QStringLiteral("255バイトを超える名前は、多くのディスクに書けません.");
    if (marks.has(NameMark::PathTooLong))
        reasons << QStringLiteral("フォルダーを含めて260文字以上になるので、Windows の多くのソフトで開けません.");
    if (marks.has(NameMark::MachineDependent))
        reasons << QStringLiteral("半角カナや①などの機種依存文字は、古い機器や圧縮ソフトで化けることがあります.");
    if (marks.has(NameMark::SidecarApart))
        reasons << (row.picture.empty() ? QStringLiteral("この付属ファイルの写真がフォルダーにありません.")
                                        : QStringLiteral("写真") + quoted(row.picture)
                                + QStringLiteral("と同じ番号になりません."));
    if (marks.has(NameMark::SameContent))
        reasons << quoted(row.sameAs) + QStringLiteral("と同じ内容です（削除はしません）.");
    return reasons;
}

QString cameraName(const TripCamera& camera)
{
    if (!camera.id.known())
        return QStringLiteral("機種不明（%1）").arg(displayName(camera.nameForm));
    const QString make = QString::fromStdString(camera.id.make);
    const QString model = QString::fromStdString(camera.id.model);
    // Most models repeat their maker ("Canon EOS R6"); some do not ("iPhone 15").
    if (model.isEmpty() || model.startsWith(make.section(u' ', 0, 0), Qt::CaseInsensitive))
        return model.isEmpty() ? make : model;
    return make + u' ' + model;
}

QString momentText(const CaptureMoment& moment)
{
    QString text = QString::fromStdString(moment.text()).left(19); // to the second
    text[4] = u'/';
    text[7] = u'/';
    return text;
}

QString takenLine(const CaptureMoment& moment)
{
    return QStringLiteral("撮影日時 ") + momentText(moment);
}

} // namespace zanto::messages
