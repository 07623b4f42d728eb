#pragma once
// The whole non-graphical platform layer in one include.

#include "platform/Archive.h"
#include "platform/CString.h"
#include "platform/Collections.h"
#include "platform/File.h"
#include "platform/Geometry.h"
#include "platform/Object.h"
#include "platform/Random.h"
#include "platform/Time.h"
#include "platform/Timer.h"
#include "platform/Types.h"
