// The orvo command: one subcommand per verb over the library and the
// tools' file modules. Exit status 0 on success, 1 on a failure explained
// on stderr, 2 on a usage error.
#include <cstdio>
#include <new>

#include "common.hpp"

int main(int argc, char **argv) {
  using namespace orvo::cli;
  CLI::App app{"orvo: NURBS curves and surfaces from the command line", "orvo"};
  app.require_subcommand(1);
  const Command commands[] = {add_info(app),    add_eval(app), add_fit(app),
                              add_fitsurf(app), add_edit(app), add_tess(app),
                              add_plot(app),    add_iges(app), add_export(app)};
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &e) {
    return app.exit(e) == 0 ? 0 : 2;  // --help exits 0
  }
  for (const Command &c : commands) {
    if (!c.app->parsed()) continue;
    const std::string verb = c.app->get_name();
    try {
      c.run();
      return 0;
    } catch (const Usage &e) {
      std::fprintf(stderr, "orvo %s: %s\nRun with --help for more information.\n", verb.c_str(),
                   e.what());
      return 2;
    } catch (const Failure &e) {
      std::fprintf(stderr, "orvo %s: %s\n", verb.c_str(), e.what());
    } catch (const std::bad_alloc &) {
      std::fprintf(stderr, "orvo %s: out of memory\n", verb.c_str());
    } catch (const std::exception &e) {
      std::fprintf(stderr, "orvo %s: %s\n", verb.c_str(), e.what());
    }
    return 1;
  }
  return 2;
}
