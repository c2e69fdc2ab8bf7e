// The toolkit behind the printed documents, started without a display: a
// program that prints holds one session while it does, so that the many
// documents of a batch share one start of the toolkit.
#pragma once

#include <memory>

class PrintSession {
public:
    PrintSession();  // starts the toolkit on its offscreen platform unless a program of it runs already
    ~PrintSession();
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

private:
    struct Started;
    std::unique_ptr<Started> started_;  // empty when the program's own toolkit was there before
};
