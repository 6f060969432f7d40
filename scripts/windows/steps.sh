# Sourced by the Windows scripts: announces each step and how long it took.
step_started=0
step() {
  step_started=$SECONDS
  echo "== $*"
}
step_done() {
  echo "   done in $((SECONDS - step_started)) s"
}
