#pragma once
// The network thread: one per process, started on first use, with an event
// loop of its own. Every socket of the program is made, used and destroyed
// on it (a socket belongs to the thread that made it), so the socket
// classes hand their work to it through these calls.
//
// PostToMainThread is the one way for another thread to reach the
// user-interface thread: the work runs there from the event loop, in order,
// whoever posts it. It is safe from any thread.

#include <functional>

// Runs the work on the network thread and returns at once.
void RunOnNetThread(std::function<void()> work);
// Runs the work on the network thread and returns when it has run; runs it
// at once when called on the network thread.
void CallOnNetThread(const std::function<void()>& work);
bool IsNetThread();
// Starts the thread now; an object that uses it from its destructor calls
// this first, so that the thread is there until that object has gone.
void StartNetThread();
// Hands an object of the network thread (a socket that lingers to send
// what it has queued) to the thread, which deletes it when it ends if
// nothing has before: a program that quits while a socket lingers leaks
// nothing. Called on the network thread.
void KeepUntilNetThreadEnds(class QObject* pObject);

// Runs the work on the user-interface (main) thread from its event loop.
// Dropped, with a log line, when no application object exists.
void PostToMainThread(std::function<void()> work);
