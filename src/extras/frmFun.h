#pragma once

#include "FunDialog.h"

namespace nc {

/// The hidden dialog about the author.
class frmFun final : public FunDialog {
public:
    frmFun(const Platform& platform, QWidget* owner);
};

} // namespace nc
