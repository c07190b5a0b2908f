// The gift page's runtime: shows one card at a time and follows the movie's rules.
// - A link adds its score to the running score, appends its entry to the visit trace, then tests its
//   condition on the new score and goes to its then-card or its card.
// - Entering the first card from another card starts the score and the trace afresh; entering a card
//   with an e-mail alert opens the alert form with the trace, in a new window. Going to the card
//   already shown does nothing more. A link past the last card shows the last card and runs none of
//   its actions, as the player does with a frame past the movie's end.
// - With the slide show on, the cards follow each other at the interval, round and round, until a
//   link is pressed.
// - The music starts at the first click or key (browsers allow sound only then) and loops.
"use strict";
(function () {
  const stage = document.getElementById("stage");
  const cards = Array.from(stage.querySelectorAll(".card"));
  const gift = { score: 0, trace: "", current: -1, timer: 0 };

  // The movie's escape(): every byte of the UTF-8 text but letters and digits as %XX.
  function escapeTrace(text) {
    let out = "";
    for (const byte of new TextEncoder().encode(text)) {
      const c = String.fromCharCode(byte);
      out += /[A-Za-z0-9]/.test(c) ? c : "%" + byte.toString(16).toUpperCase().padStart(2, "0");
    }
    return out;
  }

  function fit() {
    const w = Number(stage.dataset.w);
    const h = Number(stage.dataset.h);
    const scale = Math.min(window.innerWidth / w, window.innerHeight / h);
    stage.style.transform = "scale(" + scale + ")";
    stage.style.left = Math.max(0, (window.innerWidth - w * scale) / 2) + "px";
    stage.style.top = Math.max(0, (window.innerHeight - h * scale) / 2) + "px";
  }

  // Shows card `index` as the movie's gotoAndStop would, running the card's own actions.
  function enter(index, moveFocus) {
    const past = index >= cards.length;
    index = Math.min(Math.max(index, 0), cards.length - 1);
    if (index === gift.current || cards.length === 0) return;
    if (gift.current >= 0) cards[gift.current].hidden = true;
    gift.current = index;
    const card = cards[index];
    card.hidden = false;
    if (index === 0 && !past) {
      gift.score = 0;
      gift.trace = "";
    }
    if (card.dataset.alert !== undefined && !past) {
      window.open(card.dataset.alert + escapeTrace(gift.trace), "_blank");
    }
    if (moveFocus) card.querySelector("h1").focus();
  }

  function compare(score, op, value) {
    switch (op) {
      case ">": return score > value;
      case ">=": return score >= value;
      case "==": return score === value;
      case "<=": return score <= value;
      case "<": return score < value;
      default: return false;
    }
  }

  function follow(link) {
    const d = link.dataset;
    window.clearInterval(gift.timer);
    gift.score += Number(d.score);
    gift.trace += d.trace;
    const target = d.op && compare(gift.score, d.op, Number(d.value)) ? d.then : d.goto;
    enter(Number(target), true);
  }

  stage.addEventListener("click", (event) => {
    const link = event.target.closest(".link");
    if (link) follow(link);
  });

  const music = document.getElementById("music");
  if (music) {
    const start = () => {
      music.play().catch(() => {});
      window.removeEventListener("pointerdown", start, true);
      window.removeEventListener("keydown", start, true);
    };
    window.addEventListener("pointerdown", start, true);
    window.addEventListener("keydown", start, true);
  }

  window.addEventListener("resize", fit);
  fit();
  cards.forEach((card) => { card.hidden = true; });
  enter(0, false);
  const interval = Number(stage.dataset.interval);
  if (interval > 0 && cards.length > 1) {
    gift.timer = window.setInterval(() => {
      const next = (gift.current + 1) % cards.length;
      enter(next, false);
    }, interval);
  }
})();
