# Sourced by the browser checks (studio_browser.sh, export_browser.sh): puts
# Chromium, its driver and python3-selenium in place with apt-get when one is
# missing. Not a check itself, so .ci/run (which runs tests/ci/*.sh) skips it.

need=()
command -v chromium >/dev/null || need+=(chromium)
command -v chromedriver >/dev/null || need+=(chromium-driver)
/usr/bin/python3 -c 'import selenium' 2>/dev/null || need+=(python3-selenium)
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}"
fi
# The checks' Python modules stay out of the source tree's byte code caches.
export PYTHONDONTWRITEBYTECODE=1
