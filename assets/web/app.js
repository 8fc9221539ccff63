// The KR60P's control page: every command of the catalogue, grouped; the
// state as the gateway pushes it; held buttons that repeat on the gateway
// while a short lease is renewed, and stop at every way of letting go.
"use strict";

const page = { "X-KR60P-Page": "1" };
const $ = (id) => document.getElementById(id);
let stream = null;       // the live stream's id, which a hold is tied to
let holding = null;      // { button, renew }
let lastState = null;

function call(path, body) {
  const init = { method: body === undefined ? "GET" : "POST", headers: { ...page } };
  if (body !== undefined) {
    init.headers["Content-Type"] = "application/json";
    init.body = JSON.stringify(body);
  }
  return fetch(path, init).then(async (response) => {
    let data = {};
    try { data = await response.json(); } catch (e) { /* no body */ }
    return { ok: response.ok, status: response.status, data };
  }, () => ({ ok: false, status: 0, data: { error: "The gateway cannot be reached." } }));
}

function say(note, text, problem) {
  note.textContent = text;
  note.classList.toggle("problem", !!problem);
  note.classList.toggle("fine", !problem && text !== "");
}

// "Input: PC1" shows as "PC1", "No show on: the picture is blanked" as "No
// show on"; "PC1: RGB signal" stays whole. The whole words are the button's
// accessible name.
const prefixes = ["Input", "Input signal", "Picture mode", "Remote-control key lock", "AV size"];
function caption(command) {
  const at = command.what.indexOf(": ");
  if (at < 0) return command.what;
  const head = command.what.slice(0, at), tail = command.what.slice(at + 2);
  if (prefixes.includes(head)) return tail.charAt(0).toUpperCase() + tail.slice(1);
  if (tail.startsWith("the ")) return head;
  return command.what;
}

function buildGroups(catalogue) {
  const byName = new Map(catalogue.commands.map((c) => [c.name, c]));
  const holder = $("groups");
  for (const group of catalogue.groups) {
    const section = document.createElement("section");
    const id = "group-" + group.title.toLowerCase().replace(/[^a-z]+/g, "-");
    section.setAttribute("aria-labelledby", id);
    const title = document.createElement("h2");
    title.id = id;
    title.textContent = group.title;
    const buttons = document.createElement("div");
    buttons.className = "buttons";
    const note = document.createElement("p");
    note.className = "note";
    note.setAttribute("role", "status");
    note.setAttribute("aria-live", "polite");
    for (const name of group.commands) {
      const command = byName.get(name);
      if (!command) continue;
      const button = document.createElement("button");
      button.type = "button";
      button.textContent = caption(command);
      button.setAttribute("aria-label", command.what + (command.held ? " (repeats while held)" : ""));
      button.dataset.command = name;
      button.classList.add(name);
      if (command.held) holdable(button, command, note);
      else button.addEventListener("click", () => send(command, note));
      buttons.append(button);
    }
    section.append(title, buttons, note);
    holder.append(section);
  }
}

function send(command, note) {
  say(note, command.what + "…");
  call("api/v1/commands/" + command.name, {}).then((r) => {
    if (r.ok) say(note, r.data.decoded ? command.what.replace(/^Ask for the /, "") + ": " + r.data.decoded
                                       : command.what + ": done.");
    else say(note, r.data.error || "The gateway answered " + r.status + ".", true);
  });
}

// A held button: the gateway repeats it while this page renews its lease.
function holdable(button, command, note) {
  const press = (event) => {
    if (event) event.preventDefault();
    if (holding || !stream) return;
    holding = { button, renew: null };
    button.classList.add("held");
    call("api/v1/hold", { command: command.name, stream }).then((r) => {
      if (!r.ok) {
        say(note, r.data.error || "The gateway answered " + r.status + ".", true);
        letGo();
        return;
      }
      say(note, command.what + "…");
      if (holding && holding.button === button) {
        holding.renew = setInterval(() => call("api/v1/hold/renew", { stream }), 300);
      } else {
        call("api/v1/hold/release", { stream });  // let go before the gateway took it
      }
    });
  };
  button.addEventListener("pointerdown", (event) => {
    if (event.button === 0) {
      // A touch captures the pointer: let go of it, so that sliding off ends the hold.
      if (button.hasPointerCapture && button.hasPointerCapture(event.pointerId)) {
        button.releasePointerCapture(event.pointerId);
      }
      press(event);
    }
  });
  for (const end of ["pointerup", "pointerleave", "pointercancel", "lostpointercapture"]) {
    button.addEventListener(end, () => { if (holding && holding.button === button) letGo(); });
  }
  button.addEventListener("keydown", (event) => {
    if ((event.key === " " || event.key === "Enter") && !event.repeat) press(event);
  });
  button.addEventListener("keyup", (event) => {
    if (event.key === " " || event.key === "Enter") letGo();
  });
  button.addEventListener("blur", () => { if (holding && holding.button === button) letGo(); });
  button.addEventListener("contextmenu", (event) => event.preventDefault());
}

function letGo() {
  if (!holding) return;
  if (holding.renew) clearInterval(holding.renew);
  holding.button.classList.remove("held");
  const note = holding.button.closest("section").querySelector(".note");
  if (note.textContent.endsWith("…")) say(note, "");
  holding = null;
  if (stream) {
    const body = JSON.stringify({ stream });
    // The page may be going: sendBeacon outlives it.
    if (!navigator.sendBeacon || !navigator.sendBeacon("api/v1/hold/release", new Blob([body], { type: "application/json" }))) {
      call("api/v1/hold/release", { stream });
    }
  }
}
for (const event of ["blur", "pagehide"]) window.addEventListener(event, letGo);
document.addEventListener("visibilitychange", () => { if (document.hidden) letGo(); });

function words(reading) {
  return reading ? reading.words : "–";
}

function render(state) {
  lastState = state;
  const reach = $("reach");
  reach.className = "";
  if (!state.reachable) {
    reach.textContent = "The projector's device is away: nothing can be sent.";
    reach.className = "away";
  } else if (!state.answering) {
    reach.textContent = "The projector is not answering (its mains, or its cable?).";
    reach.className = "silent";
  } else {
    reach.textContent = "Connected to the projector.";
  }
  const r = state.readings || {};
  const power = $("power");
  const names = { "on": "On", "standby": "Standby", "warming-up": "Warming up", "cooling-down": "Cooling down" };
  // The four states by name; the window's words beside where they say more.
  const plain = ["Power ON", "Stand by", "Count down", "Cooling down"];
  const said = r["power-state"] ? r["power-state"].words : "";
  power.textContent = state.power ? names[state.power] + (said && !plain.includes(said) ? ": " + said : "") : "–";
  power.className = { "on": "on", "warming-up": "warming", "cooling-down": "cooling" }[state.power] || "";
  $("input").textContent = words(r["input-mode"]);
  $("mutes").textContent = words(r["mute-state"]);
  $("freeze").textContent = state.freeze === null || state.freeze === undefined ? "–" : (state.freeze ? "Frozen" : "Live");
  const hours = r["lamp-time"] && r["lamp-time"].hours !== null ? r["lamp-time"].hours + " hours" : "–";
  $("lamp").textContent = hours + (r["lamp-mode"] ? ", " + r["lamp-mode"].words : "");
  const t = r["temperatures"] && r["temperatures"].temperatures;
  $("temperatures").textContent = t ? t.map((v, i) => "S" + (i + 1) + " " + (v === null ? "?" : v + " °C")).join(", ") : "–";
  $("pressure").textContent = r["pressure"] && r["pressure"].hPa !== null ? r["pressure"].hPa + " hPa" : "–";
  const errors = $("errors");
  errors.textContent = state.errors ? (state.errors.words.length ? state.errors.words.join(", ") : "None") : "–";
  errors.className = state.errors && state.errors.words.length ? "problem" : "";
  $("version").textContent = r["software-version"] ? r["software-version"].version : "–";
}

function live() {
  const source = new EventSource("api/v1/events");
  source.addEventListener("hello", (event) => { stream = JSON.parse(event.data).stream; });
  source.addEventListener("state", (event) => render(JSON.parse(event.data)));
  source.onerror = () => {
    letGo();
    stream = null;
    $("reach").textContent = "The connection to the gateway was lost; trying again…";
    $("reach").className = "away";
  };
}

$("send").addEventListener("submit", (event) => {
  event.preventDefault();
  const note = $("reply");
  say(note, "Sending…");
  call("api/v1/send", { code: $("code").value }).then((r) => {
    if (r.ok) say(note, r.data.decoded ? r.data.decoded : "Reply:" + r.data.reply);
    else say(note, (r.data.error || "The gateway answered " + r.status + ".") + (r.data.reply && r.data.reply.trim() ? " Reply:" + r.data.reply : ""), true);
  });
});

call("api/v1/commands").then((r) => {
  if (r.status === 401) {
    $("login").hidden = false;
    $("wrong").hidden = !location.search.includes("wrong");
    $("reach").textContent = "Log in to work the projector.";
    $("password").focus();
    return;
  }
  if (!r.ok) { $("reach").textContent = r.data.error || "The gateway cannot be reached."; return; }
  buildGroups(r.data);
  $("panel").hidden = false;
  $("logout").hidden = false;
  live();
});
