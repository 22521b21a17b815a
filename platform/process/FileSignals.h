#pragma once

// Sets how the process meets the signals that concern the files it writes. Call it first thing
// in main.
// - SIGXFSZ, sent for a write beyond the file size limit (ulimit -f), is ignored: the write then
//   fails with "File too large" and is reported like any other failed write.
// - SIGINT, SIGTERM and SIGHUP remove the temporary files that are open (TemporaryFiles.h) and
//   then end the process as the signal does by default, so whoever started it sees the same
//   status. A signal ignored when the program started (as nohup ignores SIGHUP) stays ignored.
void GuardFilesAgainstSignals();
