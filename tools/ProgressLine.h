#pragma once

// A one-line progress bar on stderr, drawn only when stderr is a terminal.
class ProgressLine {
public:
    explicit ProgressLine(int total);
    void show(int done);
    void clear();

private:
    int total_;
    bool enabled_;
    bool drawn_ = false;
};
