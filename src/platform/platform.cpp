#include "platform/platform.h"

namespace platform {

namespace {
Input currentInput;
}  // namespace

Backend& backend() {
    static Backend inUse = libraryBackend();
    return inUse;
}

const Input& poll() {
    currentInput = backend().poll();
    return currentInput;
}

const Input& current() { return currentInput; }

void use(const Input& in) { currentInput = in; }

bool takeClick() {
    bool c = currentInput.click;
    currentInput.click = false;
    return c;
}

bool held(int code) { return held(currentInput, code); }

}  // namespace platform
