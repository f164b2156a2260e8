#include "fake_platform.h"

#include <algorithm>

FakePlatform::FakePlatform(int w, int h) : width(w), height(h) {
    platform::Backend b;
    b.poll = [this] {
        platform::Input in = input;
        in.click = false, in.wheel = 0, in.ticks = ticks, in.now = now;
        return in;
    };
    b.takeEvents = [this](platform::Input& in) {
        in.click = pendingClick, in.wheel = pendingWheel;
        pendingClick = false, pendingWheel = 0;
    };
    b.takeTicks = [this](int n) { ticks = n < 0 ? 0 : ticks - n; };
    b.present = [this](BITMAP* frame) { shown(frame); };
    b.waitRetrace = [this] { ++retraces; };
    b.wait = [this] {  // nothing changes while a screen waits but time: the next tick comes
        if (ticks == 0) ++ticks, now += tickSeconds;
    };
    b.setMode = [this](int card, int w, int h) {
        modes.push_back(std::to_string(card) + " " + std::to_string(w) + "x" + std::to_string(h));
        if (refuseMode && refuseMode(card, w, h)) return -1;
        width = w, height = h;
        return 0;
    };
    b.screenWidth = [this] { return width; };
    b.screenHeight = [this] { return height; };
    b.ask = [this](const std::string& l1, const std::string& l2, const std::string&, const std::string&) {
        questions.push_back(l1 + " " + l2);
        if (answers.empty()) return 2;
        const int a = answers.front();
        answers.pop_front();
        return a;
    };
    b.playSample = [this](SAMPLE* s, int volume, int, int, bool loop) {
        if (loop)
            loops.push_back({s, volume});
        else
            sounds.push_back(s);
    };
    b.stopSample = [this](SAMPLE* s) {
        loops.erase(std::remove_if(loops.begin(), loops.end(), [s](const Loop& l) { return l.sample == s; }), loops.end());
    };
    b.adjustSample = [this](SAMPLE* s, int volume, int, int, bool) {
        for (Loop& l : loops)
            if (l.sample == s) l.volume = volume;
    };
    b.drawPointer = [](BITMAP*) {};
    b.startTimer = [](int) {};
    b.start = [this](const char* title) {
        windowTitle = title;
        return static_cast<int>(failAtStart);
    };
    platform::backend() = b;
    platform::use(platform::Input());
}

FakePlatform::~FakePlatform() {
    platform::backend() = platform::libraryBackend();
    platform::use(platform::Input());
    if (lastFrame) destroy_bitmap(lastFrame);
}

void FakePlatform::shown(BITMAP* frame) {
    ++frames;
    if (!lastFrame || lastFrame->w != frame->w || lastFrame->h != frame->h) {
        if (lastFrame) destroy_bitmap(lastFrame);
        lastFrame = create_bitmap(frame->w, frame->h);
    }
    blit(frame, lastFrame, 0, 0, 0, 0, frame->w, frame->h);
    ++ticks, now += tickSeconds;
    if (!script.empty()) {
        auto action = std::move(script.front());
        script.pop_front();
        action();
    }
    if (frames > frameLimit) throw StuckScreen("still showing frames after " + std::to_string(frameLimit));
}
