#pragma once

// What each study pane does with a navigation its browser pane reports
// (the URL text of BeforeNavigate2, in the report forms of
// src/text/PageUrl.h). Widget-free, so that the data-set builder can follow
// the pages' links with the same rules as the program.
//
//   Book table: a URL whose last component contains "livres" proceeds (the
//     page itself); a last component that is a book number 1-66 opens the
//     book; anything else is cancelled.
//   Themes: a plain local path (form 1) proceeds when it names an existing
//     file; any other URL, a local page with an anchor included, is read as
//     a verse link, which opens its passage or is cancelled.
//   Glossary: a local page, with or without an anchor, proceeds when its
//     file exists; another address with "//" is cancelled; anything else is
//     read as a verse link.

#include <QString>
#include <functional>

#include "Communs.h"

namespace lorvane {

struct StudyLinkDecision {
    enum Kind { Cancel, Proceed, OpenBook, OpenPassage } kind = Cancel;
    int book = 0;      // OpenBook
    VerseRef passage;  // OpenPassage
};

// Answers whether a local path names an existing file the pane may show.
using StudyFileTest = std::function<bool(const QString& path)>;

// The local path of a URL in report form 1 ("/x/y.htm") or 2
// ("file:///x/y.htm#a"); a null string for anything else. `hasAnchor`, when
// given, tells the form.
QString StudyLocalPath(const QString& url, bool* hasAnchor = nullptr);

StudyLinkDecision BookTableLink(const QString& url);
StudyLinkDecision ThemeLink(const QString& url, const StudyFileTest& isFile);
StudyLinkDecision GlossaryLink(const QString& url, const StudyFileTest& isFile);

}  // namespace lorvane
