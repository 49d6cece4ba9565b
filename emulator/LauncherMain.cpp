// SPDX-License-Identifier: GPL-3.0-or-later
// virtual-mouse: runs a program with a virtual mouse (receiver and/or cable) in a umockdev
// testbed, so that the program's own hidapi and libudev find, open and talk to it.
// See LauncherCommands.h for the command line and the control commands.

#include "AppDir.h"
#include "HidrawNode.h"
#include "LauncherCommands.h"
#include "ModelDescriptor.h"
#include "VirtualMouse.h"

#include <QFileInfo>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <umockdev.h>
#include <unistd.h>
#include <vector>

using namespace MouseProtocol;

namespace {

volatile sig_atomic_t g_child = 0;

void forwardSignal(int sig) {
    if (g_child > 0)
        kill(pid_t(g_child), sig);
}

void say(const std::string &text) {
    std::fprintf(stderr, "virtual-mouse: %s\n", text.c_str());
}

std::string executablePath() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    buf[n] = '\0';
    return buf;
}

bool umockdevPreloaded() {
    const char *preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "libumockdev-preload");
}

// The umockdev preload comes before the AddressSanitizer runtime in the library list of a
// sanitized program; the runtime refuses to start that way unless told not to check.
void allowPreloadBeforeAsan() {
    const char *current = std::getenv("ASAN_OPTIONS");
    std::string options = current ? current : "";
    if (options.find("verify_asan_link_order") != std::string::npos)
        return;
    if (!options.empty())
        options += ':';
    options += "verify_asan_link_order=0";
    setenv("ASAN_OPTIONS", options.c_str(), 1);
}

int exitCodeOf(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 1;
}

class Launcher {
public:
    Launcher(const LauncherOptions &options, UMockdevTestbed *testbed)
        : m_options(options), m_testbed(testbed) {}

    bool createDevices(const std::string &appDir) {
        AppDir::setPath(QString::fromStdString(appDir));
        if (!QFileInfo(QString::fromStdString(appDir + "/DefaultProfile.bin")).isFile())
            say("no DefaultProfile.bin in " + appDir + "; using the default USB ids");
        int vid1 = 0, pid1 = 0, vid2 = 0, pid2 = 0;
        readUsbIds(vid1, pid1, vid2, pid2);
        std::string product = descriptorProductName().toStdString();
        if (product.empty())
            product = "Gaming Mouse";

        HidrawNodeConfig receiver;
        receiver.link = MouseLink::Receiver;
        receiver.vendorId = uint16_t(vid1);
        receiver.productId = uint16_t(pid1);
        receiver.number = 0;
        receiver.usbPort = "1-1";
        receiver.manufacturer = "Virtual";
        receiver.product = product + " Receiver";

        HidrawNodeConfig cable;
        cable.link = MouseLink::Cable;
        cable.vendorId = uint16_t(vid2);
        cable.productId = uint16_t(pid2);
        cable.release = m_options.release;
        cable.number = 1;
        cable.usbPort = "1-2";
        cable.manufacturer = "Virtual";
        cable.product = product;
        receiver.nodeMode = cable.nodeMode = m_options.nodeMode;

        m_nodes[0] = std::make_unique<HidrawNode>(m_testbed, m_mouse, receiver);
        m_nodes[1] = std::make_unique<HidrawNode>(m_testbed, m_mouse, cable);
        const bool wanted[2] = {m_options.receiver, m_options.cable};
        for (int i = 0; i < 2; ++i) {
            if (!wanted[i]) {
                m_mouse.unplug(i == 0 ? MouseLink::Receiver : MouseLink::Cable);
                continue;
            }
            std::string error;
            if (!m_nodes[i]->plug(error)) {
                say(error);
                return false;
            }
        }
        return true;
    }

    bool openControl() {
        const std::string &path = m_options.controlPath;
        if (path.empty())
            return true;
        struct stat st {};
        if (stat(path.c_str(), &st) != 0) {
            if (mkfifo(path.c_str(), 0600) != 0) {
                say("cannot create " + path + ": " + std::strerror(errno));
                return false;
            }
            m_createdControl = true;
        } else if (!S_ISFIFO(st.st_mode)) {
            say(path + " exists and is not a FIFO");
            return false;
        }
        // Opened for reading and writing, so that writers coming and going never end it.
        m_control = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (m_control < 0) {
            say("cannot open " + path + ": " + std::strerror(errno));
            return false;
        }
        return true;
    }

    // Runs the command and serves control commands until it ends; returns its exit code.
    int run() {
        std::vector<char *> argv;
        for (const std::string &a : m_options.command)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);

        struct sigaction sa {};
        sa.sa_handler = forwardSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGINT, &sa, nullptr);
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGHUP, &sa, nullptr);

        const pid_t pid = fork();
        if (pid < 0) {
            say(std::string("fork: ") + std::strerror(errno));
            return 1;
        }
        if (pid == 0) {
            execvp(argv[0], argv.data());
            std::fprintf(stderr, "virtual-mouse: cannot run %s: %s\n", argv[0],
                         std::strerror(errno));
            _exit(127);
        }
        g_child = pid;

        for (;;) {
            int status = 0;
            const pid_t done = waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                g_child = 0;
                return exitCodeOf(status);
            }
            if (done < 0 && errno != EINTR) {
                say(std::string("waitpid: ") + std::strerror(errno));
                return 1;
            }
            serveControl(50);
        }
    }

    // Replaces the dump file whole, so that a test reading it while the command runs never
    // sees half of it.
    void writeDump() {
        const std::string &path = m_options.dumpPath;
        if (path.empty())
            return;
        const std::string part = path + ".part";
        {
            std::ofstream out(part, std::ios::trunc);
            out << m_mouse.dump();
            if (!out) {
                say("cannot write " + part);
                return;
            }
        }
        if (std::rename(part.c_str(), path.c_str()) != 0)
            say("cannot write " + path + ": " + std::strerror(errno));
    }

    void shutdown() {
        for (auto &node : m_nodes)
            node.reset();
        if (m_control >= 0)
            ::close(m_control);
        m_control = -1;
        if (m_createdControl)
            unlink(m_options.controlPath.c_str());
        m_createdControl = false;
    }

private:
    void serveControl(int milliseconds) {
        if (m_control < 0) {
            usleep(useconds_t(milliseconds) * 1000);
            return;
        }
        pollfd p{m_control, POLLIN, 0};
        if (poll(&p, 1, milliseconds) <= 0 || !(p.revents & POLLIN))
            return;
        char buf[512];
        const ssize_t n = ::read(m_control, buf, sizeof buf);
        if (n <= 0)
            return;
        m_line.append(buf, size_t(n));
        size_t end;
        while ((end = m_line.find('\n')) != std::string::npos) {
            const std::string line = m_line.substr(0, end);
            m_line.erase(0, end + 1);
            execute(line);
        }
    }

    void execute(const std::string &line) {
        const ControlCommand c = parseControlCommand(line);
        switch (c.kind) {
        case ControlCommand::Empty:
            return;
        case ControlCommand::Invalid:
            say("control: " + c.error + " (\"" + line + "\")");
            return;
        case ControlCommand::Plug:
        case ControlCommand::Unplug: {
            HidrawNode &node = *m_nodes[c.link == MouseLink::Receiver ? 0 : 1];
            if (c.kind == ControlCommand::Unplug) {
                node.unplug();
                return;
            }
            std::string error;
            if (!node.plug(error))
                say("control: plug: " + error);
            return;
        }
        case ControlCommand::Dump:
            if (m_options.dumpPath.empty())
                say("control: dump needs --dump FILE");
            writeDump();
            return;
        default:
            if (!applyToMouse(m_mouse, c))
                say("control: refused \"" + line + "\"");
            return;
        }
    }

    const LauncherOptions &m_options;
    UMockdevTestbed *m_testbed;
    VirtualMouse m_mouse;
    std::unique_ptr<HidrawNode> m_nodes[2];
    int m_control = -1;
    bool m_createdControl = false; // removed again at the end
    std::string m_line;
};

} // namespace

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const LauncherOptions options = parseLauncherOptions(args);
    if (!options.error.empty()) {
        say(options.error);
        std::fprintf(stderr, "%s\n", launcherUsage());
        return 2;
    }
    const std::string exe = executablePath();
    if (exe.empty()) {
        say("cannot find my own executable");
        return 1;
    }

    // The testbed needs the umockdev preload in this process too (without it, uevents
    // cannot be sent); the program inherits it.
    allowPreloadBeforeAsan();
    if (!umockdevPreloaded()) {
        std::vector<char *> wrapped;
        wrapped.push_back(const_cast<char *>("umockdev-wrapper"));
        wrapped.push_back(const_cast<char *>(exe.c_str()));
        for (int i = 1; i < argc; ++i)
            wrapped.push_back(argv[i]);
        wrapped.push_back(nullptr);
        execvp(wrapped[0], wrapped.data());
        say(std::string("cannot run umockdev-wrapper: ") + std::strerror(errno));
        return 127;
    }

    UMockdevTestbed *testbed = umockdev_testbed_new(); // exports UMOCKDEV_DIR
    int code = 1;
    {
        Launcher launcher(options, testbed);
        const std::string appDir = exe.substr(0, exe.rfind('/'));
        if (launcher.createDevices(appDir) && launcher.openControl()) {
            code = launcher.run();
            launcher.writeDump();
        }
        launcher.shutdown();
    }
    g_object_unref(testbed);
    return code;
}
