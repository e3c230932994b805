// Every command group of tarnwick-cli registers its commands through one
// function, listed here and called by runCli in this order.
#pragma once

namespace tarnwick::cli {

class CliApp;

void addPortsCommands(CliApp &app);    // ports
void addVersionCommands(CliApp &app);  // version
void addTemplateCommands(CliApp &app); // template, userlist
void addConfigCommands(CliApp &app);   // config
void addGlossaryCommands(CliApp &app); // glossary
void addRecordsCommands(CliApp &app);  // records

} // namespace tarnwick::cli
