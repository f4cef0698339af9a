#pragma once

// Where the program reads its Bible and writes its pages.
//
// The program folder (the executable's) holds the shipped data/. When the
// program may write there, it writes its pages there too and an import
// replaces that data/, as for a copy in any folder. When it may not
// (installed for every user of the machine, a read-only mount, a folder of
// another user), nothing is ever written there: the pages and the Bible the
// reader imports go to the reader's own data folder, in its subfolder
// bible/, and the shipped Bible is read from the program folder:
//
//   <reader's data folder>/bible/temp.htm, temp0.htm, temp2.htm
//   <reader's data folder>/bible/them/    the study pages
//   <reader's data folder>/bible/data/    the imported Bible, once there is one
//
// The subfolder keeps these apart from a per-user installation, whose
// program folder is the reader's data folder itself, with its own data/,
// them/ and pages.

#include <string>

namespace lorvane {

struct ProgramFolders {
    std::string program;  // the executable's folder: its data/ is the shipped Bible
    std::string pages;    // becomes AppDir: the pages, and where an import goes
    std::string bible;    // becomes BibleDir: the folder whose data/ is read
};

// Whether the program may write into its folder: this process can write the
// folder and its them/ (when there), and the program was not built for an
// installation shared by every user (LORVANE_SHARED_INSTALL), whose folder
// not even root may change.
bool ProgramFolderWritable(const std::string& programDir);

// The folders for the program in programDir and a reader whose data folder
// (UserDataFolder()) is userDataDir. Every folder ends with '/'.
ProgramFolders ChooseProgramFolders(const std::string& programDir, const std::string& userDataDir);

// Whether folder/data/ holds the six files of a data set.
bool HasDataSet(const std::string& folder);

// Creates the folder when missing and checks that this process can write
// into it. "" when it can; else a French sentence naming the folder and the
// reason, for the reader.
std::string UnwritableFolderReason(const std::string& folder);

}  // namespace lorvane
