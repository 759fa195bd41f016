#pragma once

// Every control kind, for code that builds or views whole control trees.
#include "button.h"
#include "check_box.h"
#include "combo_box.h"
#include "control_array.h"
#include "form.h"
#include "frame.h"
#include "label.h"
#include "menu_item.h"
#include "option_button.h"
#include "text_field.h"
#include "timer.h"
