#pragma once

// Whether standard error goes to a terminal, where progress lines are worth showing.
bool StandardErrorIsTerminal();

// A reader that goes away (a closed pipe on standard output) must not end the process: writes to
// it then simply fail.
void IgnoreClosedPipes();
