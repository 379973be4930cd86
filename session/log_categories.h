#pragma once

#include <QLoggingCategory>

// The game's logging categories. Warnings are on and debug traces off unless QT_LOGGING_RULES
// says otherwise, for instance "dravel.*.debug=true".
namespace session {

Q_DECLARE_LOGGING_CATEGORY(lcHttp)     // dravel.http: requests that failed; each request's trace
Q_DECLARE_LOGGING_CATEGORY(lcPicture)  // dravel.picture: pictures refused at load or at paint
Q_DECLARE_LOGGING_CATEGORY(lcTurn)     // dravel.turn: turns that gave up; each attempt's trace

}  // namespace session
