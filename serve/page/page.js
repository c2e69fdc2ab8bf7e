// The town field's suggestions (a combobox of WAI-ARIA's pattern) and the
// copy buttons. Without this script the field submits its form, and the
// addresses can be copied by hand.
"use strict";

function setUpCombobox(input) {
  const list = document.getElementById(input.getAttribute("aria-controls"));
  let places = [];
  let active = -1;
  let asked = 0;
  // One letter matches tens of thousands of places; from two on the list
  // narrows. A one-letter town is found by the form's button.
  const shortest = 2;

  // A shipped place by its id; an own place (id 0) by its values, as the
  // list of matches without a script names it.
  function placeAddress(place) {
    if (place.id) return "/place?place=" + encodeURIComponent(place.id);
    return "/place?" + new URLSearchParams({
      name: place.name, lat: place.latitude.toFixed(4), lon: place.longitude.toFixed(4), tz: place.time_zone
    }).toString().replace(/\+/g, "%20");
  }

  function close() {
    list.hidden = true;
    input.setAttribute("aria-expanded", "false");
    input.removeAttribute("aria-activedescendant");
    active = -1;
  }

  function mark(index) {
    const rows = list.children;
    if (active >= 0 && rows[active]) rows[active].setAttribute("aria-selected", "false");
    active = index;
    if (active < 0) {
      input.removeAttribute("aria-activedescendant");
      return;
    }
    rows[active].setAttribute("aria-selected", "true");
    input.setAttribute("aria-activedescendant", rows[active].id);
    rows[active].scrollIntoView({ block: "nearest" });
  }

  function show(found) {
    places = found;
    list.replaceChildren();
    active = -1;
    found.forEach(function (place, index) {
      const row = document.createElement("li");
      row.id = list.id + "-" + index;
      row.setAttribute("role", "option");
      row.setAttribute("aria-selected", "false");
      const name = document.createElement("span");
      name.textContent = place.name;
      const details = document.createElement("span");
      details.className = "details";
      details.textContent = [place.region, place.country].filter(Boolean).join(", ");
      row.append(name, details);
      row.addEventListener("mousedown", function (event) { event.preventDefault(); });
      row.addEventListener("click", function () { choose(index); });
      list.append(row);
    });
    list.hidden = found.length === 0;
    input.setAttribute("aria-expanded", found.length ? "true" : "false");
  }

  function choose(index) {
    const place = places[index];
    input.value = place.name;
    close();
    window.location.assign(placeAddress(place));
  }

  function ask() {
    const query = input.value.trim();
    const number = ++asked;
    if (query.length < shortest) {
      show([]);
      return;
    }
    fetch("/api/places?q=" + encodeURIComponent(query))
      .then(function (answer) { return answer.ok ? answer.json() : []; })
      .then(function (found) {
        if (number === asked) show(Array.isArray(found) ? found : found.places || []);
      })
      .catch(function () { if (number === asked) show([]); });
  }

  input.addEventListener("input", ask);
  input.addEventListener("blur", close);
  input.addEventListener("keydown", function (event) {
    const count = places.length;
    if (event.key === "ArrowDown") {
      event.preventDefault();
      if (list.hidden && count) { list.hidden = false; input.setAttribute("aria-expanded", "true"); }
      if (count) mark((active + 1) % count);
    } else if (event.key === "ArrowUp") {
      event.preventDefault();
      if (count) mark(active <= 0 ? count - 1 : active - 1);
    } else if (event.key === "Enter") {
      if (!list.hidden && active >= 0) {
        event.preventDefault();
        choose(active);
      }
    } else if (event.key === "Escape") {
      if (!list.hidden) close();
      else input.value = "";
    }
  });
}

function setUpCopyButton(button) {
  const field = document.getElementById(button.dataset.copy);
  const status = button.parentElement.querySelector(".copy-status");
  if (!navigator.clipboard) return;
  button.hidden = false;
  button.addEventListener("click", function () {
    navigator.clipboard.writeText(field.value).then(function () {
      status.textContent = button.dataset.copied;
    }, function () {
      field.select();
    });
  });
}

document.querySelectorAll("[role=combobox]").forEach(setUpCombobox);
document.querySelectorAll(".copy-button").forEach(setUpCopyButton);
