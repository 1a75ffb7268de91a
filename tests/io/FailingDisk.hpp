#pragma once

// A disk that fails on request: while armed, the next fdatasync or linkat
// the program makes fails with the error given, as a failing or full disk
// would make it fail; and a file system may refuse anonymous files, as some
// do, so that output is written under a hidden name. The test program's own
// definitions of the calls stand in front of the C library's; unarmed, they
// pass every call on.
struct FailingDisk {
    static void failNextSync(int error);
    static void failNextLink(int error);
    static void refuseAnonymousFiles(bool refuse);
    static void reset();
};
