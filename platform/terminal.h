// Whether standard error is a terminal, where a progress bar can be redrawn in place.
#pragma once

bool standardErrorIsTerminal();
