// The core's console: a thread that keeps its lines in a log (as the viewer's
// early dataset reading does) takes only its own, in order across both
// streams; every other thread still prints straight to standard output.

#include "common/ConsoleLog.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <future>
#include <sstream>
#include <thread>

TEST(Console, ARedirectKeepsItsOwnThreadsLinesAndNoOthers) {
    ConsoleCapture screen;
    ConsoleLog kept;
    // The main thread prints while the other one is redirected.
    std::promise<void> redirected, printed;
    std::thread early([&] {
        ConsoleRedirect redirect(kept);
        consoleOut() << "- Loading grid file 'a.gri' ... \n";
        redirected.set_value();
        printed.get_future().wait();
        consoleErr() << "+ Error reading dat file:a.00000.dat\n";
        {
            ConsoleLog inner;
            ConsoleRedirect nested(inner);
            consoleOut() << "dropped\n";
        }
        consoleOut() << "after the nested log\n";
    });
    redirected.get_future().wait();
    consoleOut() << "- Initializing GLUT ...\n";
    printed.set_value();
    early.join();
    consoleOut() << "- GLUT initialized.\n";
    EXPECT_EQ(screen.out(), "- Initializing GLUT ...\n- GLUT initialized.\n");
    EXPECT_EQ(screen.err(), "");

    std::ostringstream out, err;
    kept.replay(out, err);
    EXPECT_EQ(out.str(), "- Loading grid file 'a.gri' ... \nafter the nested log\n");
    EXPECT_EQ(err.str(), "+ Error reading dat file:a.00000.dat\n");
}
