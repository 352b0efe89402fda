// vitrelle-cli history and keep: the wallpapers the tool has set, and
// keeping one of them as a picture file and a Pattern.
#pragma once

extern const char kHistoryUsage[];
extern const char kKeepUsage[];
int RunHistoryCommand(int argc, char** argv);
int RunKeepCommand(int argc, char** argv);
