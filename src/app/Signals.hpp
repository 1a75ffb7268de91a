#pragma once

// Sets how the program meets the signals of an ordinary session:
// - SIGINT, SIGTERM, SIGHUP and SIGQUIT (unless the caller ignores them, as
//   nohup does) first remove an unpublished output file, erase a progress
//   line and end a running pager's input and wait for it (so that it does
//   not fight the shell for the terminal), then end the program as the
//   signal would have;
// - SIGPIPE is ignored, so a closed console only stops the listing: the
//   output files are still written and the dialogue goes on;
// - SIGXFSZ is ignored, so a file-size limit is an ordinary write failure.
void installSignalHandlers();
