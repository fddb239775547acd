;;; ============================================================
;;; demo.lsp : QuenlitX のサンプル
;;; ============================================================

;;; ------------------------------------------------------------
;;; 矩形を作図するコマンド
;;; ------------------------------------------------------------
(defun c:box (/ p1 p2 w h)
  (setq p1 (getpoint "\n最初の点: "))
  (setq p2 (getcorner p1 "\n対角の点: "))
  (defun width (a b) (abs (- (car b) (car a))))
  (setq w (width p1 p2))
  (setq h (abs (- (cadr p2) (cadr p1))))
  (command "_.RECTANG" p1 p2)
  (princ (strcat "\n面積: " (rtos (area w h) 2 3)))
  (princ))

;;; 面積を返す
(defun area (w h / r)
  (setq r (* w h))
  r)

;; 図形を数える (total は宣言していない)
(defun count-lines (ss / i n)
  (setq i 0 n 0)
  (while (< i (sslength ss))
    (if (= (cdr (assoc 0 (entget (ssname ss i)))) "LINE")
      (setq n (1+ n)))
    (setq i (1+ i)))
  (setq total n)
  n)

(defun c:lines (/ ss)
  (if (setq ss (ssget))
    (princ (strcat "\n線分: " (itoa (count-lines ss)))))
  (princ))

(princ "\nc:box, c:lines を読み込みました。")
(princ)
