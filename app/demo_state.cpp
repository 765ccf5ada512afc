// The show's run-time record.
#include "app/demo_state.h"

DemoState demoState;
