#include "download_run.h"

#include "progress_watcher.h"

#include <string>
#include <vector>

namespace tarnwick::cli {

namespace {

int exitStatusFor(DownloadResult result) {
  switch (result) {
  case DownloadResult::Completed:
    return kExitDone;
  case DownloadResult::PortNotOpen:
    return kExitNoPort;
  default:
    break;
  }
  return kExitFailed;
}

} // namespace

std::optional<int> refuseDownload(CliSession &session) {
  AppContext &context = session.context();
  if (!context.serialLibrary.ready) {
    const std::string &why = context.serialLibrary.message;
    context.user.message(why.empty() ? context.text(sid::kReceiverToolsUnavailable) : why);
    return kExitFailed;
  }
  return session.refuseReceiverOperation();
}

int runDownload(CliSession &session, PacedDownload &download) {
  std::size_t printed = 0;
  ProgressWatcher watcher([&] {
    const std::vector<std::string> statuses = download.snapshot().statusLog;
    for (; printed < statuses.size(); ++printed) {
      session.out() << statuses[printed] << '\n' << std::flush;
    }
  });
  const DownloadResult result = download.download(session.interrupt());
  watcher.stop();
  return exitStatusFor(result);
}

} // namespace tarnwick::cli
