#pragma once

#include "Messenger.h"

namespace zanto {

// Shows requests as modal QMessageBoxes.
class QtMessenger final : public Messenger {
public:
    MsgAnswer show(QWidget* parent, const MessageRequest& request) override;
};

} // namespace zanto
