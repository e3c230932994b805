// userlist send and send-links: the Favorite User List Download and the
// Download Description List dialogs on the command line, for one list of the
// marker utility's glossary.
#include "description_list_download.h"
#include "download_run.h"
#include "user_list_download.h"
#include "userlist_downloads.h"

#include <ostream>

namespace tarnwick::cli {

void UserListDownloadCommands::add(CLI::App &userlist) {
  send_ = userlist.add_subcommand("send", "Send a user list (its name and labels) to the receiver");
  send_->add_option("name", name_, "User list")->required();
  sendLinks_ = userlist.add_subcommand("send-links",
                                       "Send a user list's linked descriptions to the receiver");
  sendLinks_->add_option("name", name_, "User list")->required();
}

bool UserListDownloadCommands::parsed() const {
  return (send_ != nullptr && send_->parsed()) || (sendLinks_ != nullptr && sendLinks_->parsed());
}

int UserListDownloadCommands::run(CliSession &session) const {
  if (const auto refused = refuseDownload(session)) {
    return *refused;
  }
  TemplatesWorkspace &workspace = session.state().templates();
  workspace.useSavedGlossary();
  UserListStore &store = workspace.userLists;
  const UserList *list = store.find(name_);
  if (list == nullptr) {
    session.err() << "No user list " << name_ << ".\n";
    return kExitFailed;
  }
  if (send_->parsed()) {
    UserListDownload download(session.context(), store);
    download.setList(list->name);
    return runDownload(session, download);
  }
  DescriptionListDownload download(session.context(), store);
  download.setList(list->name);
  return runDownload(session, download);
}

} // namespace tarnwick::cli
