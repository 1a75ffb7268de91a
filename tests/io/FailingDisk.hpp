#pragma once

// A disk that fails on request: while armed, the next fdatasync or linkat
// the program makes fails with the error given, as a failing or full disk
// would make it fail. The test program's own definitions of the two calls
// stand in front of the C library's; unarmed, they pass every call on.
struct FailingDisk {
    static void failNextSync(int error);
    static void failNextLink(int error);
    static void reset();
};
