// sigilon-loader: the image helper process. It reads icon image files' bytes from standard
// input and answers with their pixels (see imageio/ImageHelperSession), under the limits of
// imageio/ImageSandbox, set before it reads anything.

#include "imageio/ImageHelperSession.h"
#include "imageio/ImageSandbox.h"

#include <QCoreApplication>

#include <linux/close_range.h>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // Nothing the parent held open stays within reach, and what a library prints cannot be
    // taken for an answer: the requests come and go on standard input alone.
    close_range(3, ~0U, 0);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    // Qt finds its image format plugins through the application object.
    QCoreApplication application(argc, argv);
    // Set up before it says it is ready, so that an image's deadline is the image's alone.
    PrepareImageDecoders();
    if (!ImageSandbox::Enter())
        return 1;
    return ServeImageRequests(STDIN_FILENO);
}
