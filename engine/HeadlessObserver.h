// The observer of a run below the full level: nobody is there, so nothing is
// asked and every question gets the answer a quiet run has always taken
// (OK, with the sub-packages: everything foreign goes); nothing is shown.
#pragma once

#include "engine/SessionObserver.h"

class HeadlessObserver final : public SessionObserver {
public:
    bool Attended() const override { return false; }
    ForeignAnswer AnswerForeignRemoval(ForeignQuestion) override { return ForeignAnswer{true, true}; }
    void UnpackingProduct(const std::wstring&) override {}
};
