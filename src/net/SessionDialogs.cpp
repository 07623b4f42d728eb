#include "net/PlaySession.h"

int CPlaySession::RunSessionDialog() { return 0; }
