#pragma once

namespace zanto {

// A program started with its standard input, output or error closed would
// hand those numbers to the first files it opens: a journal or a picture
// would then receive whatever is printed, and a child's silenced output
// would close them. Each missing stream is opened on the null device before
// anything else is opened.
void openMissingStandardStreams();

} // namespace zanto
