#pragma once
// The forms toolkit: forms, windowless labels and images, picture boxes, list and text boxes, scroll
// bars, picture buttons, timers, keyboard focus. See docs/forms.md.
#include "forms/child_controls.h"
#include "forms/container.h"
#include "forms/events.h"
#include "forms/focus.h"
#include "forms/form.h"
#include "forms/picture.h"
#include "forms/picture_box.h"
#include "forms/timer.h"
#include "forms/windowless.h"
