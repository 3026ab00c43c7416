#!/usr/bin/env bash
# Plays Les Kovrant with the Orca screen reader as a blind child would (tests/desktop/orca_play.py) and
# keeps what Orca said. Speech goes to a speech-dispatcher of our own whose only "synthesizer" appends
# each utterance to a file; no sound device is needed.
#
#   orca_speech.sh PROGRAM SPOKEN_LOG
#
# SPOKEN_LOG receives Orca's utterances, one a line, and is printed at the end. Exit status 77 when a
# tool is missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/session.sh"
session_lead "$here/orca_speech.sh" "$@"
[ $# -eq 2 ] || { echo "usage: orca_speech.sh PROGRAM SPOKEN_LOG" >&2; exit 2; }
export KOVRANT=$1
spoken=$2
session_need Xvfb xdotool speech-dispatcher orca /usr/lib/speech-dispatcher-modules/sd_generic || exit
[ -x "$KOVRANT" ] || { echo "orca_speech: $KOVRANT is not a program" >&2; exit 1; }

session_begin
export LANG=C.UTF-8
session_xvfb 70 74 || exit 1
session_bus || exit 1

# speech-dispatcher refuses a module without a voice, and a module that cannot open a sound device:
# libao's null driver is one. Clients send the language of their locale ("c", "en-us"); every one of
# them is read as UTF-8.
speech=$SESSION_DIR/speech
synthesized=$SESSION_DIR/synthesized.txt
mkdir -p "$speech/modules" "$speech/log"
cat >"$speech/speechd.conf" <<EOF
CommunicationMethod "unix_socket"
SocketPath "$speech/speechd.sock"
Timeout 0
DefaultLanguage "fr"
AudioOutputMethod "libao"
AddModule "journal" "sd_generic" "journal.conf"
DefaultModule "journal"
DisableAutoSpawn
EOF
cat >"$speech/modules/journal.conf" <<EOF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >>$synthesized"
AddVoice "fr" "MALE1" "fr"
GenericLanguage "fr" "fr" "utf-8"
GenericLanguage "c" "fr" "utf-8"
GenericLanguage "en" "fr" "utf-8"
GenericLanguage "en-us" "fr" "utf-8"
EOF
printf 'default_driver=null\n' >"$HOME/.libao"
export SPEECHD_ADDRESS=unix_socket:$speech/speechd.sock
session_start speech-dispatcher speech-dispatcher --run-single --timeout 0 --config-dir "$speech" \
    --pid-file "$speech/pid" --log-dir "$speech/log" --socket-path "$speech/speechd.sock"
for _ in $(seq 100); do
    [ -S "$speech/speechd.sock" ] && break
    sleep 0.05
done
[ -S "$speech/speechd.sock" ] || { echo "orca_speech: speech-dispatcher did not start" >&2; exit 1; }

# Orca first, as on the child's desktop; the game once Orca has said it is on.
orca_log=$SESSION_DIR/orca-speech.log
LANGUAGE=fr session_start orca /usr/bin/python3 "$here/orca_run.py" "$orca_log"
for _ in $(seq 200); do
    grep -q "SPEECH OUTPUT: 'Lecteur d" "$orca_log" 2>/dev/null && break
    sleep 0.05
done
grep -q "SPEECH OUTPUT: 'Lecteur d" "$orca_log" 2>/dev/null ||
    { echo "orca_speech: Orca did not start; its output:" >&2; tail -n 20 "$SESSION_DIR/orca.log" >&2; exit 1; }
session_program

/usr/bin/python3 "$here/orca_play.py" "$orca_log" "$synthesized" "$spoken"
status=$?
session_program_status || status=1
echo "--- Orca said (kept in $spoken):"
cat "$spoken"
if [ "$status" != 0 ]; then
    echo "--- the synthesizer received:"
    cat "$synthesized" 2>/dev/null
fi
exit "$status"
