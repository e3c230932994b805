// Every call of a UserPort, with what came back, one line each: the answer
// of ask() for each button set, then whether the file, text and port
// choices gave anything. message() and beep() only have to return.
#pragma once

#include "user_port.h"

#include <string>

namespace tarnwick::testing {

// What a UserPort that nobody can answer any more must give.
inline constexpr const char *kSafeAnswers = "Ok\nCancel\nNo\nCancel\n"
                                            "no file\nno file\nno text\nno port\n";

inline std::string askEverything(UserPort &user) {
  user.message("Port could not be open. Please try again !");
  user.beep();
  std::string seen;
  for (const Buttons buttons :
       {Buttons::Ok, Buttons::OkCancel, Buttons::YesNo, Buttons::YesNoCancel}) {
    switch (user.ask("Go on?", buttons)) {
    case Answer::Ok:
      seen += "Ok\n";
      break;
    case Answer::Cancel:
      seen += "Cancel\n";
      break;
    case Answer::Yes:
      seen += "Yes\n";
      break;
    case Answer::No:
      seen += "No\n";
      break;
    }
  }
  seen += user.openFile({}) ? "a file\n" : "no file\n";
  seen += user.saveFile({}) ? "a file\n" : "no file\n";
  seen += user.prompt({}) ? "a text\n" : "no text\n";
  seen += user.choosePort({"/dev/ttyS0"}, {"38400"}, "38400") ? "a port\n" : "no port\n";
  return seen;
}

} // namespace tarnwick::testing
