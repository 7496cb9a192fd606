#pragma once
// Which addresses the editor hands to the system's "open" action: web pages
// and mail addresses only. Anything else (files, programs, other protocol
// handlers) or an address with blanks, quotes or control characters, which
// could split the command line a handler is started with, is refused.

// True for "http://...", "https://..." and "mailto:..." (any case) with
// something after the scheme and only printable characters other than '"'.
bool IsOpenableWebAddress(const char* url);
