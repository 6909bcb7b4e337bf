// Whoever watches a run and answers for it: the run tells it what it is
// doing and asks it the questions a user would answer. The full wizard
// shows and asks (wizard/WizardObserver.h); below the full level the
// headless observer answers as a quiet run does (engine/HeadlessObserver.h).
// The steps take an observer and hold no window of their own.
#pragma once

#include <string>

#include "engine/ForeignRemovalPlan.h"

class SessionObserver {
public:
    // Somebody is there to answer (the full wizard): the run asks its
    // questions and lets installers show their progress.
    virtual bool Attended() const = 0;
    // The foreign removal's question (a message box for one package, the
    // already-installed dialog for several); asked only when QuestionFor
    // names one.
    virtual ForeignAnswer AnswerForeignRemoval(ForeignQuestion question) = 0;
    // Each product as its package is unpacked. Called on the unpacking
    // worker thread: it must not wait for the user interface.
    virtual void UnpackingProduct(const std::wstring& productName) = 0;

protected:
    ~SessionObserver() = default;
};
