#pragma once
// The whole non-graphical platform layer in one include.

#include "platform/core/Archive.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/File.h"
#include "platform/core/Geometry.h"
#include "platform/core/Object.h"
#include "platform/core/Random.h"
#include "platform/core/Time.h"
#include "platform/core/Timer.h"
#include "platform/core/Types.h"
