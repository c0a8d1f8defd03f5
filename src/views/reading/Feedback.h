#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class Desktop;

// The address that the settings window's feedback row opens: a web form when
// one is configured (none is), else a mail link with a prepared subject and
// a body that ends with the version and the system.
namespace Feedback {

// Where feedback mail goes: the build's feedback address, or empty.
QString recipient();
// Whether there is anywhere to send feedback; without it the settings
// window has no feedback row.
bool offered();

// No feedback form is configured: always none.
std::optional<QUrl> formURL(const QString &version, const QString &platform, const QString &versionField);

// "mailto:<recipient>?subject=…&body=…" with the subject and the body filled
// with the version and the platform line ("<platform> ・ <system>"). Every
// character of the subject and the body outside the unreserved set
// (A–Z a–z 0–9 - . _ ~) is percent-encoded as UTF-8, so that "&", "=", "+",
// "#" or "%" in a version or system name cannot end a field early or change
// what the mail program reads. None when there is no recipient or no valid
// URL results.
std::optional<QUrl> mailURL(const QString &version, const QString &platform);
// The same with a given system line in place of system().
std::optional<QUrl> mailURL(const QString &version, const QString &platform, const QString &system);

// The running operating system and its version, as it names itself
// ("Debian GNU/Linux 12 (bookworm)"), else the kernel ("linux 6.1.0").
QString system();

// The platform name written before the system in the mail's last line.
QString platform();

// What the settings window's feedback row opens for the running program's
// version (an empty version is written "?"): the form when one is
// configured, else the mail link.
std::optional<QUrl> address(const QString &version);

// The one-line notice shown when no program opens the mail link.
QString noMailProgramNotice();

// What the feedback row does: opens address(version) through the desktop;
// when there is no address or no program takes it, hands the notice that
// names the address to `tell` (the model's one-line notice), so a press is
// never silently lost. Gives whether the link was opened.
bool send(const QString &version, Desktop &desktop, const std::function<void(const QString &)> &tell);

} // namespace Feedback
