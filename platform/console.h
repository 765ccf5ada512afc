// The console the programs print to, where systems differ: the text it takes, and where its lines
// are kept for a user whose console window closes with the program.
#pragma once

// Lets the console show what the programs print (UTF-8: folder names in any script); the
// console's own setting is given back at exit.
void prepareConsole();

// Also writes every line the show prints to a log file of the last run, where the system's way of
// starting it (a double-click) gives a console that closes at its end; append for a restart that
// goes on the same run.
void keepConsoleLog(bool append);
