#pragma once

#include "core/HeadlessView.h"

namespace vxa::bench {

// A view that draws nothing but keeps the grid's store, so a measured load
// does the same bookkeeping as one in the window. It answers Yes, so a
// measured compile never stops at a question.
class NullView final : public HeadlessView {
  public:
    explicit NullView(const EntryTable& t) : HeadlessView(t) {}
    MsgAnswer messageBox(const std::string&, const std::string&, MsgButtons b, MsgIcon) override {
        return b == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    void showIoError(const std::string& text) override { lastError = text; }

    std::string lastError;
};

}  // namespace vxa::bench
