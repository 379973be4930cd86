#include "session/log_categories.h"

namespace session {

Q_LOGGING_CATEGORY(lcHttp, "dravel.http", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPicture, "dravel.picture", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTurn, "dravel.turn", QtWarningMsg)

}  // namespace session
