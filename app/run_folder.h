// The folder the show reads its data set from: the working directory, as always, or where that
// holds none (a shortcut with no "Start in", a full path typed in a console), the folder of the
// executable.
#pragma once

// Makes the folder with the data set the working directory, saying so in one line when it is the
// executable's; false after a line saying where it looked when neither holds data/ or biisi.mp3.
bool enterRunFolder();
