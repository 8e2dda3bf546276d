#pragma once

#include "rename/BatchRename.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class QLineEdit;
class QTimer;

namespace zanto {

class FileSystem;
class ListBox;

// Pointing at an entry of the rename list shows the name the batch would give
// it ("IMG_0412.JPG → 旅行03.jpg") while the base name box holds a usable
// name; with one number per shot, every file of the shot, a line each; an
// entry of the series the numbers continue, that it keeps its name. Only
// the entry pointed at is named: typing costs nothing. The names of the whole
// run are worked out once and kept while the list, the base name, the
// numbering and (with shots) the folder's names stay as they were. A long
// list has them worked out on a thread of their own soon after it changes,
// so that the tip that follows does not wait on them.
class NewNameTip final : public QObject {
    Q_OBJECT
public:
    // How the batch numbers, and the folder shown (read for shots only).
    using Options = std::function<BatchOptions()>;
    using Folder = std::function<std::string()>;

    NewNameTip(ListBox& list, QLineEdit& base, Options options, Folder folder, FileSystem& fileSystem,
               QObject* parent);
    ~NewNameTip() override;

    // From this many entries on, the names are worked out ahead: fewer take
    // less than a frame where the tip asks for them.
    static constexpr int kAheadFrom = 2000;

    // The tip for the entry at `row`; empty when the base name is empty or
    // would be refused, and the entry's own tip is shown instead.
    QString text(int row) const;
    // A last line of every tip, for the entry named (when it was taken);
    // none where it is empty.
    using TakenLine = std::function<QString(const std::string& name)>;
    void setTakenLine(TakenLine line) { m_takenLine = std::move(line); }
    // What the tip shows for the entry at `row`: text(), else the entry's
    // name, and the taken line; empty where neither has anything to say.
    QString shownText(int row) const;

signals:
    // Names worked out ahead are at hand for the list as it stands.
    void namesReady();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the run's new names are worked out from, besides the list.
    struct Inputs {
        std::string base;
        std::string folder;
        bool shots = false;
        Numbering numbering;

        bool operator==(const Inputs&) const = default;
    };
    // The run's new names, and what they were worked out from.
    struct Names {
        Inputs inputs;
        std::unique_ptr<FolderWatch> watch; // with shots: begun before the folder was read
        std::vector<BatchItem> items;
        std::vector<std::size_t> shotOf;
    };
    // Names being worked out on their own thread for the list as it was at
    // `listVersion`.
    struct Ahead {
        std::uint64_t listVersion = 0;
        Inputs inputs;
        std::future<std::optional<Names>> names;
        std::jthread worker;
    };

    enum class Purpose { Now, Ahead };
    // `nameKey`: how names compare for "taken", the one option Inputs does not hold.
    static std::optional<Names> workOut(const std::vector<std::string>& entries, Inputs inputs,
                                        const NameKey& nameKey, FileSystem& fileSystem,
                                        Purpose purpose = Purpose::Now);
    // The inputs as they stand, with `base` for the base name.
    Inputs inputsFor(const std::string& base, const BatchOptions& options) const;
    // The names of the working-out ahead, which is then gone.
    std::optional<Names> finishAhead() const;
    static bool fits(const Names& names, const Inputs& inputs);
    const Names* namesFor(const std::string& base) const;
    void listChanged();
    void workAhead();
    void takeAhead();

    ListBox& m_list;
    QLineEdit& m_base;
    Options m_options;
    Folder m_folder;
    FileSystem& m_fileSystem;
    mutable std::optional<Names> m_names; // dropped whenever the list changes
    std::uint64_t m_listVersion = 0;      // counts the list's changes
    mutable std::optional<Ahead> m_ahead; // one at a time
    bool m_aheadAgain = false;            // the inputs changed while it ran
    QTimer* m_aheadDelay;                 // a burst of changes starts one
    TakenLine m_takenLine;
};

} // namespace zanto
